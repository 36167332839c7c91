#include "widgets/textpane.h"

#include "widgets/accessibility.h"
#include "widgets/links.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>
#include <QTimer>

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

bool IsWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

} // namespace

TextPane::TextPane(const QString& name, QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setObjectName(name);
    InstallTextPaneAccessibility();
    announce = AnnouncesNewLines(name);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setMouseTracking(true);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    verticalScrollBar()->setSingleStep(1);
    dragTimer = new QTimer(this);
    dragTimer->setInterval(50);
    connect(dragTimer, &QTimer::timeout, this, &TextPane::DragScroll);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (!settingScroll)
            follow = value >= verticalScrollBar()->maximum();
        viewport()->update();
    });
}

TextPane::~TextPane() = default;

void TextPane::PushLine(QString text)
{
    starts.push_back(lines.empty() ? 0 : starts.back() + lines.back().size() + 1);
    lines.push_back(std::move(text));
    heights.push_back(0);
}

void TextPane::AnnounceAppended(int firstNew)
{
    // Per entry, not per paint: a burst costs one event for each entry, and
    // nothing at all while no screen reader listens.
    if (!announce || !QAccessible::isActive())
        return;
    QString added;
    for (int line = firstNew; line < LineCount(); ++line)
        added += lines[std::size_t(line)] + QLatin1Char('\n');
    QAccessibleTextInsertEvent event(this, int(std::min<qint64>(LineStart(firstNew), INT_MAX)), added);
    QAccessible::updateAccessibility(&event);
}

void TextPane::AppendLine(const QString& text)
{
    const int firstNew = LineCount();
    const QString clean = WithoutCarriageReturns(text);
    if (!clean.contains(QLatin1Char('\n'))) {
        PushLine(clean.left(kMaxLineLength));
    } else {
        for (const QString& part : clean.split(QLatin1Char('\n')))
            PushLine(part.left(kMaxLineLength));
    }
    AnnounceAppended(firstNew);
    ++generation;
    UpdateScrollBar();
    viewport()->update();
}

void TextPane::AppendEntry(const QString& text)
{
    const int firstNew = LineCount();
    PushLine(WithoutCarriageReturns(text));
    AnnounceAppended(firstNew);
    ++generation;
    UpdateScrollBar();
    viewport()->update();
}

void TextPane::TrimTo(int limit)
{
    // The limit may come from a file: no arithmetic on it can overflow.
    limit = std::max(limit, 0);
    const int count = LineCount();
    if (count - 100 <= limit)
        return;
    const int drop = count - limit;
    if (announce && QAccessible::isActive()) {
        QString removed;
        for (int line = 0; line < drop; ++line)
            removed += lines[std::size_t(line)] + QLatin1Char('\n');
        QAccessibleTextRemoveEvent event(this, 0, removed);
        QAccessible::updateAccessibility(&event);
    }
    lines.erase(lines.begin(), lines.begin() + drop);
    starts.erase(starts.begin(), starts.begin() + drop);
    heights.erase(heights.begin(), heights.begin() + drop);
    ++generation;
    ShiftPositions(drop);
    UpdateScrollBar();
    viewport()->update();
}

void TextPane::ShiftPositions(int removed)
{
    // A selection whose text is partly gone is dropped, not moved.
    anchor.line -= removed;
    cursor.line -= removed;
    if (anchor.line < 0 || cursor.line < 0) {
        anchor = cursor = Pos{};
        selecting = false;
        dragTimer->stop();
    }
    if (!follow) {
        ApplyScrollBar();
        settingScroll = true;
        verticalScrollBar()->setValue(std::max(verticalScrollBar()->value() - removed, 0));
        settingScroll = false;
    }
}

void TextPane::ClearLines()
{
    // Clearing an empty pane at the start of a session changes nothing on screen.
    if (lines.empty() && follow && anchor == Pos{} && cursor == Pos{})
        return;
    lines.clear();
    starts.clear();
    heights.clear();
    ++generation;
    anchor = cursor = Pos{};
    follow = true;
    UpdateScrollBar();
    viewport()->update();
}

void TextPane::ReplaceText(const QString& text)
{
    lines.clear();
    starts.clear();
    heights.clear();
    ++generation;
    anchor = cursor = Pos{};
    const QString clean = WithoutCarriageReturns(text);
    if (!clean.isEmpty())
        for (const QString& part : clean.split(QLatin1Char('\n')))
            PushLine(part);
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
    bar->setPageStep(std::max(viewport()->height() / std::max(fontMetrics().lineSpacing(), 1), 1));
    bar->setRange(0, Bottom().pageTop);
    if (follow)
        bar->setValue(bar->maximum());
    settingScroll = false;
}

// Where the lines sit with the newest one at the bottom: the first line
// drawn (perhaps cut at the top), its y, and the first line that fits whole,
// which is the scroll bar's maximum, so that one step up from the bottom
// shows a full pane. Kept until the lines or the size change, so the scroll
// bar update and the paint after it lay the lines out once.
TextPane::BottomPlacement TextPane::Bottom() const
{
    const int count = LineCount();
    const QSize size = viewport()->size();
    if (bottom.generation == generation && bottom.size == size)
        return bottom;
    bottom = BottomPlacement{generation, size, 0, 0, 0};
    if (count == 0)
        return bottom;
    // A hidden pane is not laid out; it is measured again when shown.
    if (!isVisible()) {
        bottom.first = bottom.pageTop = std::max(count - verticalScrollBar()->pageStep(), 0);
        bottom.generation = generation - 1;
        return bottom;
    }
    int first = count;
    int h = 0;
    while (first > 0 && h < size.height()) {
        --first;
        h += LineHeight(first);
    }
    bottom.first = first;
    bottom.y = std::min(size.height() - h, 0);
    bottom.pageTop = std::min(h > size.height() ? first + 1 : first, count - 1);
    return bottom;
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

int TextPane::LayoutWidth() const
{
    return std::max(viewport()->width() - 2 * kMargin, 10);
}

void TextPane::LayoutLine(QTextLayout& layout, int line) const
{
    const int width = LayoutWidth();
    QString text = lines[static_cast<std::size_t>(line)];
    // An entry's own line feeds break rows; a final one adds no empty row.
    if (text.contains(QLatin1Char('\n'))) {
        if (text.endsWith(QLatin1Char('\n')))
            text.chop(1);
        text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    }
    layout.setText(text);
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
    if (const int width = LayoutWidth(); width != heightsWidth) {
        std::fill(heights.begin(), heights.end(), 0);
        heightsWidth = width;
    }
    int& height = heights[static_cast<std::size_t>(line)];
    if (height == 0) {
        QTextLayout layout;
        LayoutLine(layout, line);
        height = std::max(int(std::ceil(layout.boundingRect().height())), fontMetrics().lineSpacing());
    }
    return height;
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

    // At the bottom the newest line sits at the bottom. Otherwise the scroll
    // bar's value is the top line.
    int first = verticalScrollBar()->value();
    int y = 0;
    if (follow || first >= verticalScrollBar()->maximum()) {
        const BottomPlacement at = Bottom();
        first = at.first;
        y = at.y;
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
        const QString& text = lines[std::size_t(line)];
        for (const LinkSpan& link : FindLinks(text)) {
            QTextLayout::FormatRange range;
            range.start = link.start;
            range.length = link.length;
            range.format.setForeground(pal.brush(QPalette::Link));
            range.format.setFontUnderline(true);
            selection << range;
        }
        if (!findNeedle.isEmpty())
            for (const TextMatch& m : TextFinder::MatchesInLine(text, line, findNeedle, findCase)) {
                QTextLayout::FormatRange range;
                range.start = m.column;
                range.length = m.length;
                range.format.setBackground(QColor(255, 226, 110));
                range.format.setForeground(QColor(Qt::black));
                selection << range;
            }
        // The selection is drawn last, over links and find highlights.
        if (hasSelection && line >= selStart.line && line <= selEnd.line) {
            const int from = line == selStart.line ? selStart.column : 0;
            const int to = line == selEnd.line ? selEnd.column : int(lines[std::size_t(line)].size()) + 1;
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

void TextPane::showEvent(QShowEvent* event)
{
    QAbstractScrollArea::showEvent(event);
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
        heightsWidth = -1;
        ++generation;
        UpdateScrollBar();
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
    if (event->modifiers().testFlag(Qt::ControlModifier)) {
        if (const QUrl url = LinkAt(event->position().toPoint()); url.isValid()) {
            emit LinkActivated(url);
            return;
        }
    }
    setFocus(Qt::MouseFocusReason);
    cursor = HitTest(event->position().toPoint());
    // Shift+click extends the selection from its anchor.
    if (!event->modifiers().testFlag(Qt::ShiftModifier))
        anchor = cursor;
    selecting = true;
    dragPoint = event->position().toPoint();
    viewport()->update();
}

void TextPane::mouseMoveEvent(QMouseEvent* event)
{
    if (!selecting) {
        // Ctrl over an address shows that a click opens it.
        const bool overLink
            = event->modifiers().testFlag(Qt::ControlModifier) && LinkAt(event->position().toPoint()).isValid();
        viewport()->setCursor(overLink ? Qt::PointingHandCursor : Qt::IBeamCursor);
        return;
    }
    dragPoint = event->position().toPoint();
    cursor = HitTest(dragPoint);
    // Past the top or bottom edge the pane scrolls, so a selection can be
    // longer than one screen.
    if (dragPoint.y() < 0 || dragPoint.y() >= viewport()->height()) {
        if (!dragTimer->isActive())
            dragTimer->start();
    } else {
        dragTimer->stop();
    }
    viewport()->update();
}

void TextPane::DragScroll()
{
    if (!selecting) {
        dragTimer->stop();
        return;
    }
    const int height = viewport()->height();
    const int beyond = dragPoint.y() < 0 ? dragPoint.y() : dragPoint.y() - height + 1;
    if (beyond == 0)
        return;
    // The further past the edge, the faster it goes.
    const int step = 1 + std::abs(beyond) / std::max(fontMetrics().lineSpacing(), 1);
    QScrollBar* bar = verticalScrollBar();
    const int top = placed.empty() ? bar->value() : placed.front().line;
    bar->setValue(beyond < 0 ? std::min(bar->value(), top) - step : bar->value() + step);
    viewport()->repaint();
    cursor = HitTest(QPoint(dragPoint.x(), std::clamp(dragPoint.y(), 0, height - 1)));
    viewport()->update();
}

void TextPane::mouseReleaseEvent(QMouseEvent* event)
{
    if (selecting && event->button() == Qt::LeftButton) {
        selecting = false;
        dragTimer->stop();
        if (HasSelection() && QApplication::clipboard()->supportsSelection())
            QApplication::clipboard()->setText(SelectedText(), QClipboard::Selection);
    }
}

void TextPane::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A double click selects the word under the mouse (or the one character
    // that is not part of a word).
    const Pos at = HitTest(event->position().toPoint());
    const QString text = LineAt(at.line);
    int from = std::clamp(at.column, 0, int(text.size()));
    if ((from >= text.size() || !IsWordChar(text[from])) && from > 0 && IsWordChar(text[from - 1]))
        --from;
    int to = std::min(from + 1, int(text.size()));
    if (from < text.size() && IsWordChar(text[from])) {
        while (from > 0 && IsWordChar(text[from - 1]))
            --from;
        while (to < text.size() && IsWordChar(text[to]))
            ++to;
    }
    anchor = {at.line, from};
    cursor = {at.line, to};
    viewport()->update();
}

TextPane::Pos TextPane::TextEnd() const
{
    return lines.empty() ? Pos{} : Pos{LineCount() - 1, int(lines.back().size())};
}

// Shift with a movement key moves the selection's free end; false for any
// other key.
bool TextPane::MoveSelectionEnd(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (!mods.testFlag(Qt::ShiftModifier) || lines.empty())
        return false;
    const bool ctrl = mods.testFlag(Qt::ControlModifier);
    // With nothing selected and the last click out of view, selecting starts
    // at the end of the last line on screen.
    if (!HasSelection()) {
        const bool shown
            = std::any_of(placed.begin(), placed.end(), [this](const Placed& p) { return p.line == cursor.line; });
        if (!shown) {
            const int line = placed.empty() ? LineCount() - 1 : placed.back().line;
            cursor = {line, int(LineAt(line).size())};
        }
        anchor = cursor;
    }
    const int last = LineCount() - 1;
    const int page = std::max(verticalScrollBar()->pageStep(), 1);
    Pos to = cursor;
    auto lineLength = [this](int line) { return int(LineAt(line).size()); };
    auto toLine = [&](int line) {
        to.line = std::clamp(line, 0, last);
        to.column = std::min(to.column, lineLength(to.line));
    };
    switch (event->key()) {
    case Qt::Key_Left:
        if (to.column > 0)
            --to.column;
        else if (to.line > 0)
            to = {to.line - 1, lineLength(to.line - 1)};
        break;
    case Qt::Key_Right:
        if (to.column < lineLength(to.line))
            ++to.column;
        else if (to.line < last)
            to = {to.line + 1, 0};
        break;
    case Qt::Key_Up: toLine(to.line - 1); break;
    case Qt::Key_Down: toLine(to.line + 1); break;
    case Qt::Key_PageUp: toLine(to.line - page); break;
    case Qt::Key_PageDown: toLine(to.line + page); break;
    case Qt::Key_Home: to = ctrl ? Pos{} : Pos{to.line, 0}; break;
    case Qt::Key_End: to = ctrl ? TextEnd() : Pos{to.line, lineLength(to.line)}; break;
    default: return false;
    }
    cursor = to;
    EnsureVisible(cursor.line);
    viewport()->update();
    return true;
}

void TextPane::EnsureVisible(int line)
{
    if (placed.empty())
        return;
    QScrollBar* bar = verticalScrollBar();
    const int height = viewport()->height();
    int firstWhole = placed.back().line;
    int lastWhole = placed.front().line;
    for (const Placed& p : placed) {
        if (p.y >= 0)
            firstWhole = std::min(firstWhole, p.line);
        if (p.y + p.height <= height)
            lastWhole = std::max(lastWhole, p.line);
    }
    if (line < firstWhole)
        bar->setValue(line);
    else if (line > lastWhole)
        bar->setValue(placed.front().line + (line - lastWhole));
    viewport()->repaint();
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
    if (MoveSelectionEnd(event))
        return;
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

QMenu* TextPane::CreateContextMenu()
{
    auto* menu = new QMenu(this);
    QAction* copyAction = menu->addAction(tr("&Copy"), this, [this] { copy(); });
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setEnabled(HasSelection());
    QAction* all = menu->addAction(tr("Select &All"), this, [this] { selectAll(); });
    all->setShortcut(QKeySequence::SelectAll);
    all->setEnabled(!lines.empty());
    return menu;
}

void TextPane::contextMenuEvent(QContextMenuEvent* event)
{
    std::unique_ptr<QMenu> menu(CreateContextMenu());
    menu->exec(event->globalPos());
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

QUrl TextPane::LinkAt(const QPoint& point) const
{
    const bool onLine = std::any_of(placed.begin(), placed.end(),
        [&point](const Placed& p) { return point.y() >= p.y && point.y() < p.y + p.height; });
    if (!onLine)
        return {};
    const Pos at = HitTest(point);
    for (const LinkSpan& link : FindLinks(LineAt(at.line)))
        if (at.column >= link.start && at.column < link.start + link.length)
            return link.url;
    return {};
}

void TextPane::ShowFindMatch(const TextMatch& match)
{
    anchor = Pos{match.line, match.column};
    cursor = Pos{match.line, match.column + match.length};
    if (placed.empty())
        verticalScrollBar()->setValue(match.line);
    else
        EnsureVisible(match.line);
    viewport()->update();
}

void TextPane::SetFindHighlight(const QString& needle, Qt::CaseSensitivity cs)
{
    findNeedle = needle;
    findCase = cs;
    viewport()->update();
}

void TextPane::Select(Pos from, Pos to)
{
    anchor = from;
    cursor = to;
    EnsureVisible(to.line);
    viewport()->update();
}

qint64 TextPane::TextLength() const
{
    return lines.empty() ? 0 : starts.back() - starts.front() + lines.back().size() + 1;
}

qint64 TextPane::LineStart(int line) const
{
    if (line >= LineCount())
        return TextLength();
    return line <= 0 ? 0 : starts[std::size_t(line)] - starts.front();
}

int TextPane::LineAtOffset(qint64 offset) const
{
    if (lines.empty() || offset <= 0)
        return 0;
    const auto after = std::upper_bound(starts.begin(), starts.end(), starts.front() + offset);
    return std::min(int(after - starts.begin()) - 1, LineCount() - 1);
}

QRect TextPane::CharacterRect(Pos at) const
{
    const auto shown = std::find_if(placed.begin(), placed.end(), [&at](const Placed& p) { return p.line == at.line; });
    if (shown == placed.end())
        return {};
    QTextLayout layout;
    LayoutLine(layout, at.line);
    const QTextLine row = layout.lineForTextPosition(at.column);
    if (!row.isValid())
        return {};
    const qreal x = row.cursorToX(at.column);
    const qreal next = row.cursorToX(at.column + 1);
    return QRectF(kMargin + x, shown->y + row.y(), std::max(next - x, 1.0), row.height()).toAlignedRect();
}
