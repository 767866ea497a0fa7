#pragma once

// The floor a table window's bench prints beside its figure: the same rows
// (one text per cell) drawn by a plain widget of the same size and font, a
// line per row and a column per cell, nothing else, in the same run. For a
// watch, the floor's refresh replaces every cell's text and draws. A window
// cannot show its rows faster than this; the ratio says how far off it is.

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>
#include <QStringList>
#include <QWidget>

#include <algorithm>
#include <utility>
#include <vector>

class TableFloor : public QWidget
{
public:
    TableFloor(QSize size, const QFont &font)
    {
        setFont(font);
        resize(size);
        show();
        QApplication::processEvents();
    }

    // The rows set, the columns as wide as their widest text, drawn.
    void Draw(std::vector<QStringList> rows)
    {
        m_rows = std::move(rows);
        const QFontMetrics metrics(font());
        m_columns.clear();
        for (const QStringList &row : m_rows) {
            for (qsizetype c = 0; c < row.size(); ++c) {
                if (std::size_t(c) >= m_columns.size())
                    m_columns.push_back(0);
                m_columns[std::size_t(c)] = std::max(m_columns[std::size_t(c)], metrics.horizontalAdvance(row[c]));
            }
        }
        repaint();
        QApplication::processEvents();
    }

    // A watch's refresh: every cell's text replaced, then drawn.
    void Refresh(std::vector<QStringList> rows)
    {
        m_rows = std::move(rows);
        repaint();
        QApplication::processEvents();
    }

    QPixmap Grab() { return grab(); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().base());
        const QFontMetrics metrics(font());
        const int gap = metrics.horizontalAdvance(QLatin1Char(' '));
        int y = metrics.ascent();
        for (const QStringList &row : m_rows) {
            int x = gap;
            for (qsizetype c = 0; c < row.size() && std::size_t(c) < m_columns.size(); ++c) {
                painter.drawText(x, y, row[c]);
                x += m_columns[std::size_t(c)] + 2 * gap;
            }
            y += metrics.height();
            if (y - metrics.ascent() > height())
                break;
        }
    }

private:
    std::vector<QStringList> m_rows;
    std::vector<int> m_columns;
};
