// Text typed or pasted where the program does not expect it. A choice list
// runs its handler when an entry is picked. A typed text that is exactly an
// entry's is a pick of that entry once the box is left or Enter is pressed;
// any other typed text names nothing the calculation uses and is put back to
// the picked entry before it can label a result. An input box takes one
// line: a pasted spreadsheet cell brings its line end along, which would
// split a record.
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QValidator>

#include <algorithm>

#include "window/form_main.h"

namespace {

constexpr const char* kPromptProperty = "nimboPrompt";

bool IsLineBreak(QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); }

// Keeps the first line of whatever is put into the box. The box never holds
// a line break, so the first one belongs to the text just put in, which ends
// at the cursor; the box's own text after the cursor stays.
class FirstLineOnly : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override
    {
        qsizetype lineBreak = 0;
        while (lineBreak < input.size() && !IsLineBreak(input[lineBreak]))
            ++lineBreak;
        if (lineBreak == input.size())
            return Acceptable;
        const qsizetype rest = std::max<qsizetype>(pos, lineBreak);
        input = input.left(lineBreak) + input.mid(rest);
        pos = static_cast<int>(lineBreak);
        return Acceptable;
    }
};

}  // namespace

void Form_Main::setPrompt(QComboBox* box, const QString& text)
{
    box->setProperty(kPromptProperty, text);
    box->setEditText(text);
}

QString Form_Main::pickedText(const QComboBox& box)
{
    const int index = box.currentIndex();
    if (index >= 0)
        return box.itemText(index);
    const QVariant prompt = box.property(kPromptProperty);
    return prompt.isValid() ? prompt.toString() : box.currentText();
}

void Form_Main::settleTypedText(QComboBox* box)
{
    const QString typed = box->currentText();
    const QString picked = pickedText(*box);
    if (typed == picked || settling_)
        return;
    settling_ = true;
    // The first entry of that text, as every search of the list finds it.
    const int entry = box->findText(typed, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (entry >= 0)
        pickEntry(box, entry, box == Cmb_TipVR   ? &Form_Main::Cmb_TipVR_Click
                              : box == Cmb_VidVR ? &Form_Main::Cmb_VidVR_Click
                                                 : &Form_Main::Cmb_Tprzmr_Click);
    else
        box->setEditText(picked);
    settling_ = false;
}

void Form_Main::settleTypedTexts(const QWidget* focus)
{
    for (QComboBox* box : {Cmb_TipVR, Cmb_VidVR, Cmb_Tprzmr}) {
        // The box's own list, a window of its own, still belongs to it.
        bool inBox = false;
        for (const QWidget* w = focus; w && !inBox; w = w->parentWidget())
            inBox = w == box;
        if (!inBox)
            settleTypedText(box);
    }
}

void Form_Main::settleOnFocusOut(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::FocusOut)
        return;
    // The box hands its focus events on to its text line; either may be
    // the one told.
    auto* box = qobject_cast<QComboBox*>(watched);
    if (!box && watched && qobject_cast<QLineEdit*>(watched))
        box = qobject_cast<QComboBox*>(watched->parent());
    // Opening the box's own list takes the focus for a moment; a pick from
    // it sets the text anyway.
    if (box && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
        settleTypedText(box);
}

void Form_Main::guardTypedTexts()
{
    for (QComboBox* box : {Cmb_TipVR, Cmb_VidVR, Cmb_Tprzmr}) {
        box->installEventFilter(this);
        box->lineEdit()->installEventFilter(this);
        connect(box->lineEdit(), &QLineEdit::returnPressed, this, [this, box] { settleTypedText(box); });
    }
    // Keys can reach a box that never held the focus, and then it is never
    // told it lost it: every move of the focus settles the boxes it is not in.
    focusWatch_ = connect(qApp, &QApplication::focusChanged, this,
                          [this](QWidget*, QWidget* now) { settleTypedTexts(now); });
    for (QLineEdit* box : inputBoxes())
        box->setValidator(new FirstLineOnly(box));
}
