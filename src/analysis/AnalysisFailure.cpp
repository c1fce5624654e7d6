#include "analysis/AnalysisFailure.h"

AnalysisFailure::AnalysisFailure(const QString& message, Icon messageIcon, bool beepFirst)
    : std::runtime_error(message.toStdString()), text(message), icon(messageIcon), beep(beepFirst)
{
}

void AnalysisFailure::Check(const QString& text) { throw AnalysisFailure(text, Icon::Information, true); }

void AnalysisFailure::Error(const QString& text) { throw AnalysisFailure(text, Icon::Exclamation, false); }
