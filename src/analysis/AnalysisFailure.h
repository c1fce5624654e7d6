// A failed analysis run: the engine stops at the first failed check or error
// and reports it as this exception; the window that runs the analysis shows
// the message (nothing after the failure is computed or written).
#pragma once

#include <QString>
#include <stdexcept>

class AnalysisFailure : public std::runtime_error {
public:
    enum class Icon { Information, Exclamation };

    AnalysisFailure(const QString& text, Icon icon, bool beep);

    // A model or load check that refuses the input: beep, information icon.
    [[noreturn]] static void Check(const QString& text);
    // A model the engine cannot compute (zero length, no stiffness, results
    // too large): exclamation icon, no beep.
    [[noreturn]] static void Error(const QString& text);

    QString text;
    Icon icon;
    bool beep;
};
