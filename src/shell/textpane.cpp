#include "shell/textpane.h"

#include <algorithm>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>

namespace {

constexpr int kMargin = 4;

QString WithoutCarriageReturns(const QString& text)
{
    if (!text.contains(QLatin1Char('\r')))
        return text;
    QString clean = text;
    clean.remove(QLatin1Char('\r'));
    return clean;
}

} // namespace

TextPane::TextPane(const QString& name, QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setObjectName(name);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    verticalScrollBar()->setSingleStep(1);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (!settingScroll)
            follow = value >= verticalScrollBar()->maximum();
        viewport()->update();
    });
}

TextPane::~TextPane() = default;

void TextPane::AppendLine(const QString& text)
{
    const QString clean = WithoutCarriageReturns(text);
    if (!clean.contains(QLatin1Char('\n'))) {
        lines.push_back(clean.left(kMaxLineLength));
    } else {
        for (const QString& part : clean.split(QLatin1Char('\n')))
            lines.push_back(part.left(kMaxLineLength));
    }
    UpdateScrollBar();
    viewport()->update();
}

void TextPane::TrimTo(int limit)
{
    const int count = LineCount();
    if (count <= limit + 100)
        return;
    const int drop = count - std::max(limit, 0);
    lines.erase(lines.begin(), lines.begin() + drop);
    ShiftPositions(drop);
    UpdateScrollBar();
    viewport()->update();
}

void TextPane::ShiftPositions(int removed)
{
    auto shift = [removed](Pos& p) {
        p.line -= removed;
        if (p.line < 0)
            p = Pos{0, 0};
    };
    shift(anchor);
    shift(cursor);
    if (!follow) {
        ApplyScrollBar();
        settingScroll = true;
        verticalScrollBar()->setValue(std::max(verticalScrollBar()->value() - removed, 0));
        settingScroll = false;
    }
}

void TextPane::ClearLines()
{
    lines.clear();
    anchor = cursor = Pos{};
    follow = true;
    UpdateScrollBar();
    viewport()->update();
}

void TextPane::ReplaceText(const QString& text)
{
    lines.clear();
    anchor = cursor = Pos{};
    const QString clean = WithoutCarriageReturns(text);
    if (!clean.isEmpty())
        for (const QString& part : clean.split(QLatin1Char('\n')))
            lines.push_back(part);
    follow = true;
    UpdateScrollBar();
    viewport()->update();
}

QString TextPane::LineAt(int index) const
{
    if (index < 0 || index >= LineCount())
        return {};
    return lines[static_cast<std::size_t>(index)];
}

QStringList TextPane::Lines() const
{
    QStringList out;
    out.reserve(LineCount());
    for (const QString& line : lines)
        out << line;
    return out;
}

void TextPane::UpdateScrollBar()
{
    // A burst of lines costs one scroll bar update, once the loop is idle.
    if (scrollBarPending)
        return;
    scrollBarPending = true;
    QMetaObject::invokeMethod(this, &TextPane::ApplyScrollBar, Qt::QueuedConnection);
}

void TextPane::ApplyScrollBar()
{
    scrollBarPending = false;
    QScrollBar* bar = verticalScrollBar();
    settingScroll = true;
    bar->setRange(0, std::max(LineCount() - 1, 0));
    bar->setPageStep(std::max(viewport()->height() / std::max(fontMetrics().lineSpacing(), 1), 1));
    if (follow)
        bar->setValue(bar->maximum());
    settingScroll = false;
}

void TextPane::ScrollToTop()
{
    follow = LineCount() == 0;
    ApplyScrollBar();
    settingScroll = true;
    verticalScrollBar()->setValue(0);
    settingScroll = false;
    viewport()->update();
}

void TextPane::ScrollToBottom()
{
    follow = true;
    UpdateScrollBar();
    viewport()->update();
}

int TextPane::TopLine() const
{
    if (!placed.empty())
        return placed.front().line;
    return follow ? std::max(LineCount() - 1, 0) : verticalScrollBar()->value();
}

void TextPane::LayoutLine(QTextLayout& layout, int line) const
{
    const int width = std::max(viewport()->width() - 2 * kMargin, 10);
    layout.setText(lines[static_cast<std::size_t>(line)]);
    layout.setFont(font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    qreal y = 0;
    for (;;) {
        QTextLine tl = layout.createLine();
        if (!tl.isValid())
            break;
        tl.setLineWidth(width);
        tl.setPosition(QPointF(0, y));
        y += tl.height();
    }
    layout.endLayout();
}

int TextPane::LineHeight(int line) const
{
    QTextLayout layout;
    LayoutLine(layout, line);
    return std::max(int(std::ceil(layout.boundingRect().height())), fontMetrics().lineSpacing());
}

void TextPane::paintEvent(QPaintEvent*)
{
    if (scrollBarPending)
        ApplyScrollBar();
    QPainter painter(viewport());
    placed.clear();
    const int count = LineCount();
    if (count == 0)
        return;
    const int height = viewport()->height();

    // Following: the newest line sits at the bottom. Otherwise the scroll
    // bar's value is the top line.
    int first = verticalScrollBar()->value();
    int y = 0;
    if (follow) {
        int h = 0;
        first = count;
        while (first > 0 && h < height) {
            --first;
            h += LineHeight(first);
        }
        y = std::min(height - h, 0);
    }
    first = std::clamp(first, 0, count - 1);

    const Pos selStart = std::min(anchor, cursor);
    const Pos selEnd = std::max(anchor, cursor);
    const bool hasSelection = selStart != selEnd;
    const QPalette pal = palette();

    for (int line = first; line < count && y < height; ++line) {
        QTextLayout layout;
        LayoutLine(layout, line);
        const int h = std::max(int(std::ceil(layout.boundingRect().height())), fontMetrics().lineSpacing());
        QList<QTextLayout::FormatRange> selection;
        if (hasSelection && line >= selStart.line && line <= selEnd.line) {
            const int from = line == selStart.line ? selStart.column : 0;
            const int to = line == selEnd.line ? selEnd.column : int(layout.text().size()) + 1;
            QTextLayout::FormatRange range;
            range.start = from;
            range.length = std::max(to - from, 0);
            range.format.setBackground(pal.brush(QPalette::Highlight));
            range.format.setForeground(pal.brush(QPalette::HighlightedText));
            selection << range;
        }
        painter.setPen(pal.color(QPalette::Text));
        layout.draw(&painter, QPointF(kMargin, y), selection);
        placed.push_back({line, y, h});
        y += h;
    }
}

void TextPane::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    ApplyScrollBar();
}

void TextPane::scrollContentsBy(int, int)
{
    viewport()->update();
}

void TextPane::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange) {
        QPalette p = viewport()->palette();
        p.setColor(QPalette::Base, palette().color(QPalette::Base));
        viewport()->setPalette(p);
        viewport()->update();
    }
}

TextPane::Pos TextPane::HitTest(const QPoint& point) const
{
    if (placed.empty())
        return {};
    const Placed* hit = &placed.back();
    if (point.y() < placed.front().y) {
        hit = &placed.front();
    } else {
        for (const Placed& p : placed)
            if (point.y() < p.y + p.height) {
                hit = &p;
                break;
            }
    }
    QTextLayout layout;
    LayoutLine(layout, hit->line);
    const qreal localY = std::clamp<qreal>(point.y() - hit->y, 0, hit->height - 1);
    for (int i = 0; i < layout.lineCount(); ++i) {
        QTextLine tl = layout.lineAt(i);
        if (localY < tl.y() + tl.height() || i == layout.lineCount() - 1)
            return {hit->line, tl.xToCursor(point.x() - kMargin)};
    }
    return {hit->line, 0};
}

void TextPane::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    anchor = cursor = HitTest(event->position().toPoint());
    selecting = true;
    viewport()->update();
}

void TextPane::mouseMoveEvent(QMouseEvent* event)
{
    if (!selecting)
        return;
    cursor = HitTest(event->position().toPoint());
    viewport()->update();
}

void TextPane::mouseReleaseEvent(QMouseEvent* event)
{
    if (selecting && event->button() == Qt::LeftButton) {
        selecting = false;
        if (HasSelection() && QApplication::clipboard()->supportsSelection())
            QApplication::clipboard()->setText(SelectedText(), QClipboard::Selection);
    }
}

void TextPane::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A double click selects the whole line.
    const Pos at = HitTest(event->position().toPoint());
    anchor = {at.line, 0};
    cursor = {at.line, int(LineAt(at.line).size())};
    viewport()->update();
}

void TextPane::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        copy();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        return;
    }
    QScrollBar* bar = verticalScrollBar();
    switch (event->key()) {
    case Qt::Key_Up: bar->triggerAction(QAbstractSlider::SliderSingleStepSub); return;
    case Qt::Key_Down: bar->triggerAction(QAbstractSlider::SliderSingleStepAdd); return;
    case Qt::Key_PageUp: bar->triggerAction(QAbstractSlider::SliderPageStepSub); return;
    case Qt::Key_PageDown: bar->triggerAction(QAbstractSlider::SliderPageStepAdd); return;
    case Qt::Key_Home:
        if (event->modifiers() & Qt::ControlModifier) {
            ScrollToTop();
            return;
        }
        break;
    case Qt::Key_End:
        if (event->modifiers() & Qt::ControlModifier) {
            ScrollToBottom();
            return;
        }
        break;
    default: break;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

bool TextPane::HasSelection() const
{
    return anchor != cursor;
}

QString TextPane::SelectedText() const
{
    if (!HasSelection() || lines.empty())
        return {};
    const Pos a = std::min(anchor, cursor);
    const Pos b = std::max(anchor, cursor);
    QStringList parts;
    for (int line = a.line; line <= b.line && line < LineCount(); ++line) {
        const QString& text = lines[static_cast<std::size_t>(line)];
        const int from = line == a.line ? std::min(a.column, int(text.size())) : 0;
        const int to = line == b.line ? std::min(b.column, int(text.size())) : int(text.size());
        parts << text.mid(from, std::max(to - from, 0));
    }
    return parts.join(QLatin1Char('\n'));
}

void TextPane::selectAll()
{
    if (lines.empty())
        return;
    anchor = {0, 0};
    cursor = {LineCount() - 1, int(lines.back().size())};
    viewport()->update();
}

void TextPane::copy() const
{
    if (HasSelection())
        QApplication::clipboard()->setText(SelectedText());
}
