#pragma once
#include <QWidget>
#include <cstdint>

// A status lamp: a filled rectangle with a border, each in its own colour.
// Colours are Windows colour numbers (red in the lowest byte).
class ShapeLamp : public QWidget {
    Q_OBJECT
public:
    explicit ShapeLamp(QWidget* parent = nullptr);

    std::int32_t FillColor() const { return m_fill; }
    void SetFillColor(std::int32_t color);
    std::int32_t BorderColor() const { return m_border; }
    void SetBorderColor(std::int32_t color);
    // Both colours from a (fill, border) pair.
    template <class Pair>
    void SetColors(const Pair& pair)
    {
        SetFillColor(pair[0]);
        SetBorderColor(pair[1]);
    }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::int32_t m_fill = 0xA0A0A0;
    std::int32_t m_border = 0x808080;
};
