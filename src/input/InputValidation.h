// The input checks of the screens as functions of the boxes' texts: each
// takes the texts (and the few values of the model it needs) and returns its
// verdict, its message and the texts it writes back. A thin window adapter
// runs a check on a window and shows the verdict as the screens do.
#pragma once

#include "input/InputControls.h"

#include <QString>
#include <cstdint>

// What a check reads.
struct CheckInputs {
    BoxTexts texts{};
    // The basic data's common moduli, which a section's zero modulus takes.
    float commonE = 0;
    float commonG = 0;
    bool unitIsSI = true;
};

struct CheckVerdict {
    bool accepted = true;
    // Shown after a beep with the information icon; empty: no message.
    QString message{};
    // Texts put into the boxes, also when a later rule refuses the entry.
    BoxTexts writeBacks{};
    // A Yes/No question asked before anything else is shown or written back:
    // No refuses the entry. Yes first raises the basic data's load-case count
    // to `raisedCaseCount`.
    QString question{};
    int16_t raisedCaseCount = 0;
};

using InputCheck = CheckVerdict (*)(const CheckInputs&);

// The rules of one check at work: the texts as the rules see them, with the
// texts written back so far, and the verdict being built.
class CheckRun {
public:
    explicit CheckRun(const CheckInputs& inputs) : inputs_(inputs), texts_(inputs.texts) {}

    const CheckInputs& Inputs() const { return inputs_; }
    // The text of a box; a box the inputs lack raises ErrItemNotFound, so a
    // missing box never reads as empty.
    QString Text(const QString& box) const;
    double Value(const QString& box) const;
    bool IsNumeric(const QString& box) const;
    // Numeric, and a value a Single field can hold.
    bool IsSingle(const QString& box) const;
    // Numeric, and a value that rounds into a 16-bit Integer field.
    bool IsInteger(const QString& box) const;
    void WriteBack(const QString& box, const QString& text);
    void Ask(const QString& question, int16_t raisedCaseCount);

    CheckVerdict Accept() const { return verdict_; }
    CheckVerdict Refuse(const QString& message) const;
    // The invalid-value message.
    CheckVerdict Invalid() const;

private:
    const CheckInputs& inputs_;
    BoxTexts texts_;
    CheckVerdict verdict_;
};

// The refusal of a condition or shape number outside 1 to 9999. The restraint
// screen writes the 1 after one blank, the other screens after two.
QString TypeNumberRangeMessage(bool twoBlanks);

// "入力したデータのなかに不正な値があります" after a beep; `result` becomes false.
void ShowInvalidInputMessage(bool& result);

// Runs `check` on the texts of `window` with the program's unit flag and
// shows its verdict there: the question (a No refuses), the raise of the load
// cases, the texts written back and the message. True when the entry passed.
bool RunInputCheck(QWidget* window, InputCheck check, float commonE = 0, float commonG = 0);
// Shows a verdict on `window` as RunInputCheck does.
bool ShowCheckVerdict(QWidget* window, const CheckVerdict& verdict);
