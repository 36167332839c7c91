#include "macros/macroform.h"

#include <algorithm>

#include <QFont>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTextBlock>
#include <QVBoxLayout>

#include "macros/macro.h"
#include "base/ansi.h"

namespace {
// The picture beside the explanation: a function key cap.
QPixmap KeyCapPicture()
{
    QPixmap picture(64, 64);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(90, 90, 90), 2));
    painter.setBrush(QColor(220, 220, 220));
    painter.drawRoundedRect(QRectF(4, 4, 56, 56), 8, 8);
    painter.setBrush(QColor(245, 245, 245));
    painter.drawRoundedRect(QRectF(11, 8, 42, 40), 6, 6);
    QFont font("Arial");
    font.setPixelSize(18);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(40, 40, 120));
    painter.drawText(QRectF(11, 8, 42, 40), Qt::AlignCenter, "F1");
    return picture;
}

QPushButton* Button(const char* name, const char* caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}
} // namespace

TMacroBox::TMacroBox(Macro& macroStore, QWidget* parent)
    : QDialog(parent)
    , store(macroStore)
{
    setObjectName("MacroBox");
    setWindowTitle("Startup and F-Keys ");

    auto* picturePanel = new QFrame(this);
    picturePanel->setObjectName("PicturePanel");
    picturePanel->setFrameShape(QFrame::StyledPanel);
    auto* picture = new QLabel(picturePanel);
    picture->setObjectName("PictureImage");
    picture->setPixmap(KeyCapPicture());
    auto* pictureLayout = new QVBoxLayout(picturePanel);
    pictureLayout->addWidget(picture);

    auto* labels = new QVBoxLayout;
    const char* lines[] = {"You can assign up to 400 characters to each F-Key. This text",
        "will be sent to the server when you press the F-Key or placed",
        "in the input window when you press Ctrl-F-Key. The text for",
        "the F1 Key is automatically sent  to the server on log on."};
    int labelNumber = 1;
    for (const char* text : lines) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QString("Label%1").arg(labelNumber++));
        labels->addWidget(label);
    }
    auto* top = new QHBoxLayout;
    top->addWidget(picturePanel);
    top->addLayout(labels, 1);

    fKeyGroup = new QGroupBox(" Text for FX-Key ", this);
    fKeyGroup->setObjectName("FKeyGroup");
    fKeyMemo = new QPlainTextEdit(fKeyGroup);
    fKeyMemo->setObjectName("FKeyMemo");
    fKeyMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    // A tab means nothing to the server: Tab goes on to the buttons.
    fKeyMemo->setTabChangesFocus(true);
    fKeyMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    fKeyMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* groupLayout = new QVBoxLayout(fKeyGroup);
    groupLayout->addWidget(fKeyMemo);
    connect(fKeyMemo->document(), &QTextDocument::contentsChange, this,
        [this](int position, int, int added) { LimitLength(position, added); });

    auto* lastBtn = Button("LastBtn", "Previous", this);
    auto* nextBtn = Button("NextBtn", "Next", this);
    auto* cancelBtn = Button("CancelBtn", "Cancel", this);
    auto* okBtn = Button("OkBtn", "OK", this);
    connect(lastBtn, &QPushButton::clicked, this, &TMacroBox::LastBtnClick);
    connect(nextBtn, &QPushButton::clicked, this, &TMacroBox::NextBtnClick);
    connect(cancelBtn, &QPushButton::clicked, this, &TMacroBox::CancelBtnClick);
    connect(okBtn, &QPushButton::clicked, this, &TMacroBox::OkBtnClick);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lastBtn);
    buttons->addWidget(nextBtn);
    buttons->addStretch(1);
    buttons->addWidget(cancelBtn);
    buttons->addWidget(okBtn);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(fKeyGroup, 1);
    layout->addLayout(buttons);
    resize(470, 330);
}

void TMacroBox::Open()
{
    show();
    raise();
    activateWindow();
}

void TMacroBox::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Restoring a minimised window is not a fresh showing.
    if (!event->spontaneous())
        FormShow();
}

void TMacroBox::FormShow()
{
    if (key < Macro::kFirstKey)
        key = Macro::kFirstKey;
    ShowKey(key);
}

void TMacroBox::ShowKey(int newKey)
{
    if (newKey < Macro::kFirstKey || newKey > Macro::kLastKey)
        return;
    store.SetEditKey(newKey);
    key = newKey;
    fKeyGroup->setTitle(QString(" Text for F%1-Key ").arg(key));
    filling = true;
    fKeyMemo->clear();
    if (const MacroRec* record = store.Record(key))
        for (const std::string& line : record->Lines())
            fKeyMemo->appendPlainText(FromAnsi(line));
    filling = false;
    // What is shown now matches the store, whatever the memo held before.
    fKeyMemo->document()->setModified(false);
}

void TMacroBox::OfferToSave()
{
    if (!fKeyMemo->document()->isModified())
        return;
    const auto answer = QMessageBox::question(
        this, "Confirm", "Text has changed. Do you want to save it?", QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    std::vector<std::string> lines;
    // Shift+Enter breaks a line inside a paragraph; it ends a command all the same.
    for (QTextBlock block = fKeyMemo->document()->begin(); block.isValid(); block = block.next())
        for (const QString& line : block.text().split(QChar::LineSeparator))
            lines.push_back(ToAnsi(line));
    store.Save(key, lines);
    // Saved text is no longer a change; don't ask about it again.
    fKeyMemo->document()->setModified(false);
}

void TMacroBox::OkBtnClick()
{
    OfferToSave();
    hide();
}

void TMacroBox::NextBtnClick()
{
    OfferToSave();
    ShowKey(key + 1);
}

void TMacroBox::LastBtnClick()
{
    OfferToSave();
    ShowKey(key - 1);
}

void TMacroBox::CancelBtnClick()
{
    hide();
}

// The memo takes at most kMaxChars characters, line ends included; typing or
// pasting beyond that keeps only what fits. Text put in by the program (a
// longer macro from the settings file) is shown whole.
void TMacroBox::LimitLength(int position, int added)
{
    if (filling)
        return;
    QTextDocument* document = fKeyMemo->document();
    const int length = document->characterCount() - 1;
    const int excess = length - kMaxChars;
    if (excess <= 0 || added <= 0)
        return;
    const int end = std::min(position + added, length);
    QTextCursor cursor(document);
    cursor.setPosition(std::max(position, end - excess));
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}
