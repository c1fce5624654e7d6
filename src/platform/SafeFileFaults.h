// Failures of the safe writer made on purpose, for tests only: the program
// never creates one. While an InjectedWriteFailure lives, every file written
// through files::SafeFile or files::ReplaceWith (or only the one named) fails
// at the chosen step, as a full or failing disk would make it fail.
#pragma once

#include <QString>

namespace files {

enum class FailingStep {
    Write,   // a write beyond the room given fails (no space left)
    Sync,    // the flush to disk fails (input/output error)
    Rename,  // the last step, the rename over the target, fails
};

class InjectedWriteFailure {
public:
    // With FailingStep::Write each file may take `room` bytes first; they
    // reach its temporary file, as on a disk that fills up half-way.
    // With `onlyTarget` only the file of that path (the target, not its
    // temporary file) fails.
    explicit InjectedWriteFailure(FailingStep step, qint64 room = 0, const QString& onlyTarget = QString());
    ~InjectedWriteFailure();
    InjectedWriteFailure(const InjectedWriteFailure&) = delete;
    InjectedWriteFailure& operator=(const InjectedWriteFailure&) = delete;

    // How many times a step was made to fail.
    int Failures() const { return failures_; }

private:
    friend struct FaultAccess;
    FailingStep step_;
    qint64 room_;
    QString onlyTarget_;
    int failures_ = 0;
    InjectedWriteFailure* previous_;
};

}  // namespace files
