#pragma once
#include <array>
#include <cstddef>
#include <stdexcept>

// A fixed array of child controls addressed by index, the way the window's
// repeated controls are named: cmdDown(2), fraMenu(5), chkLog(0).
// An index outside the array throws std::out_of_range.
template <class T, std::size_t N>
class ControlArray {
public:
    T* operator()(int index) const { return m_items.at(Checked(index)); }
    T*& operator[](int index) { return m_items.at(Checked(index)); }
    T* operator[](int index) const { return m_items.at(Checked(index)); }

    static constexpr int Count() { return static_cast<int>(N); }

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    static std::size_t Checked(int index)
    {
        if (index < 0)
            throw std::out_of_range("control index below 0");
        return static_cast<std::size_t>(index);
    }
    std::array<T*, N> m_items{};
};
