#include "widgets/find_bar.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace {

QToolButton* Button(const QString& name, const QString& text, const QString& tip, QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(tip);
    b->setAccessibleName(tip);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::TabFocus);
    return b;
}

} // namespace

FindBar::FindBar(QWidget* pane, FindTarget& target)
    : QFrame(pane)
    , target(target)
{
    setObjectName("FindBar");
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setAccessibleName("Find");
    setAccessibleDescription("Finds text in the pane");

    edit = new QLineEdit(this);
    edit->setObjectName("FindEdit");
    edit->setPlaceholderText("Find");
    edit->setAccessibleName("Find text");
    edit->setAccessibleDescription("Text to find; Enter finds the next match, Shift+Enter the previous one");
    edit->setMinimumWidth(160);
    auto* prev = Button("FindPrevBtn", QString(QChar(0x25B2)), "Previous match", this);
    auto* next = Button("FindNextBtn", QString(QChar(0x25BC)), "Next match", this);
    matchCase = new QCheckBox("Match case", this);
    matchCase->setObjectName("FindCaseCheck");
    highlightAll = new QCheckBox("Highlight all", this);
    highlightAll->setObjectName("FindHighlightCheck");
    highlightAll->setChecked(true);
    status = new QLabel(this);
    status->setObjectName("FindStatusLabel");
    status->setMinimumWidth(90);
    auto* close = Button("FindCloseBtn", QString(QChar(0x2715)), "Close the find bar", this);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(4);
    for (QWidget* w : {static_cast<QWidget*>(edit), static_cast<QWidget*>(prev), static_cast<QWidget*>(next),
             static_cast<QWidget*>(matchCase), static_cast<QWidget*>(highlightAll), static_cast<QWidget*>(status),
             static_cast<QWidget*>(close)})
        layout->addWidget(w);

    connect(edit, &QLineEdit::textEdited, this, [this] { Search(false, true); });
    connect(prev, &QToolButton::clicked, this, [this] { FindNext(true); });
    connect(next, &QToolButton::clicked, this, [this] { FindNext(false); });
    connect(matchCase, &QCheckBox::toggled, this, [this] { Search(false, true); });
    connect(highlightAll, &QCheckBox::toggled, this, [this] { UpdateHighlight(); });
    connect(close, &QToolButton::clicked, this, &FindBar::Close);

    pane->installEventFilter(this);
    hide();
}

void FindBar::Open()
{
    if (!isVisible()) {
        QWidget* focus = QApplication::focusWidget();
        returnFocus = focus && !isAncestorOf(focus) ? focus : nullptr;
        Place();
        show();
        raise();
    }
    edit->setFocus(Qt::ShortcutFocusReason);
    edit->selectAll();
    UpdateHighlight();
}

void FindBar::Close()
{
    hide();
    target.SetFindHighlight(QString(), CaseSensitivity());
    if (returnFocus)
        returnFocus->setFocus(Qt::OtherFocusReason);
}

void FindBar::FindNext(bool backward)
{
    Search(backward, false);
}

QString FindBar::StatusText() const
{
    return status->text();
}

Qt::CaseSensitivity FindBar::CaseSensitivity() const
{
    return matchCase->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

void FindBar::UpdateHighlight()
{
    target.SetFindHighlight(highlightAll->isChecked() ? edit->text() : QString(), CaseSensitivity());
}

void FindBar::Search(bool backward, bool fromStartOfCurrent)
{
    const TextFinder finder([this](int line) { return target.FindLineAt(line); }, target.FindLineCount());
    const QString needle = edit->text();
    std::optional<TextMatch> from = current;
    // Typing refines the match in place: search again from where it starts.
    if (fromStartOfCurrent && from) {
        if (from->column > 0)
            --from->column;
        else if (from->line > 0)
            from = TextMatch{from->line - 1, std::numeric_limits<int>::max() - 1, 0};
        else
            from.reset();
    }
    current = finder.Find(needle, from, backward, CaseSensitivity());
    UpdateHighlight();
    if (needle.isEmpty()) {
        status->clear();
        return;
    }
    if (!current) {
        status->setText("Not found");
        return;
    }
    target.ShowFindMatch(*current);
    const int count = finder.CountMatches(needle, CaseSensitivity());
    status->setText(count == 1 ? QStringLiteral("1 match") : QStringLiteral("%1 matches").arg(count));
}

void FindBar::Place()
{
    auto* pane = parentWidget();
    adjustSize();
    const int right = pane->width() - 24; // clear of the scroll bar
    move(std::max(0, right - width()), 2);
}

bool FindBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize && isVisible())
        Place();
    return QFrame::eventFilter(watched, event);
}

void FindBar::keyPressEvent(QKeyEvent* event)
{
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    switch (event->key()) {
    case Qt::Key_Escape: Close(); return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_F3: FindNext(shift); return;
    default: QFrame::keyPressEvent(event);
    }
}
