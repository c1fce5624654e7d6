// What every input screen shares: its own connection and recordset, the
// cancel button and the close box, and the end of a screen by neither of its
// own paths.
#pragma once

#include "platform/Database.h"
#include "platform/Forms.h"

#include <QString>
#include <utility>
#include <vector>

class InputScreen : public forms::Form {
    Q_OBJECT
public:
    explicit InputScreen(const QString& name, QWidget* parent = nullptr) : forms::Form(name, parent) {}

    dao::DatabasePtr ScreenDatabase;
    dao::RecordsetPtr ScreenRecordset;

    // Set when the screen ends through its register or cancel path, so that
    // the unload that follows takes no action of its own.
    void MarkEnding() { ending_ = true; }
    bool Ending() const { return ending_; }

    // cmdCancel_Click: the cancel button.
    void CancelInput();

    // Tool tips of the screen's own controls (control name, text), set with
    // those of the framework's buttons when the tool-tip option is on.
    virtual std::vector<std::pair<QString, QString>> OwnToolTips() const { return {}; }

protected:
    // Call first in Form_Load.
    void BeginInput() { ending_ = false; }
    // Ends the screen keeping the changes (the register path's last steps).
    void CommitInput();

    void Form_QueryUnload(bool& cancel, int unloadMode) override;
    void Form_Unload(bool& cancel) override;

private:
    bool ending_ = false;
};
