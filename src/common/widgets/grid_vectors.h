#pragma once
// Per-column and per-row settings of a grid kept in plain vectors that grow
// on demand: read with a fallback past their end, written by growing them.
// Private to the grid's own files.
#include <algorithm>
#include <cstddef>
#include <vector>

namespace grid_vectors {

template <typename T>
T At(const std::vector<T>& v, int i, T fallback)
{
    return (i >= 0 && i < static_cast<int>(v.size())) ? v[static_cast<size_t>(i)] : fallback;
}

template <typename T>
void Put(std::vector<T>& v, int i, T value, T fill)
{
    if (i < 0)
        return;
    if (i >= static_cast<int>(v.size()))
        v.resize(static_cast<size_t>(i) + 1, fill);
    v[static_cast<size_t>(i)] = value;
}

// Columns or rows first..last inserted: their settings start as fill.
template <typename T>
void Insert(std::vector<T>& v, int first, int last, T fill)
{
    if (first < static_cast<int>(v.size()))
        v.insert(v.begin() + first, static_cast<size_t>(last - first + 1), fill);
}

// Columns or rows first..last removed: their settings go with them.
template <typename T>
void Erase(std::vector<T>& v, int first, int last)
{
    const int size = static_cast<int>(v.size());
    if (first < size)
        v.erase(v.begin() + first, v.begin() + std::min(last + 1, size));
}

} // namespace grid_vectors
