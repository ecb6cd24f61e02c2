#pragma once
#include "printing/report_canvas.h"

#include <QRectF>
#include <QString>

#include <cstdint>
#include <vector>

// A report canvas that draws nothing and records what a report drew, for
// tests and measurements. Text is measured at a fixed pitch so positions
// are exact: a character is 0.6 em wide and a text line 1.2 em high
// (at 9 pt: 108 and 216 twips).
class RecordingCanvas : public ReportCanvas {
public:
    struct Text {
        int page;
        double x;
        double y;
        QString text;
        double size;
        bool bold;
        QString family;
        std::int32_t colour;
    };
    struct Rule {
        int page;
        double x1;
        double y1;
        double x2;
        double y2;
        int width;
    };
    struct Graph {
        int page;
        QRectF rect;
        int sampleCount;
        QString titleTop;
        QString titleBottom;
        bool bold;
    };

    // A printable area of A4 less margins by default.
    explicit RecordingCanvas(double scaleWidth = 11000, double scaleHeight = 15500);

    double ScaleWidth() const override { return m_width; }
    double ScaleHeight() const override { return m_height; }

    // Named fault: starting page n (2 = the first page break) raises
    // PrintError, as a printer that runs out of paper would.
    void FailAtPage(int n) { m_failAtPage = n; }

    std::vector<Text> texts;
    std::vector<Rule> lines;
    std::vector<Graph> graphs;
    bool finished = false;
    bool dropped = false;

    // The texts of one page in drawing order; the first text that equals
    // text (nullptr when none).
    std::vector<Text> TextsOnPage(int page) const;
    const Text* Find(const QString& text, int page = 0) const;

protected:
    double MeasureWidth(const QString& text) const override;
    double LineHeight() const override;
    void DrawText(double x, double y, const QString& text) override;
    void DrawLine(double x1, double y1, double x2, double y2) override;
    void RenderGraph(GraphModel& model, const QFont& font, const QRectF& rect) override;
    void StartPage() override;
    void FinishDocument() override;
    void DropDocument() override;

private:
    double Em() const;

    double m_width;
    double m_height;
    int m_failAtPage = 0;
};
