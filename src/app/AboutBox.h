// The version-information box and the information-page window.
#pragma once

#include "platform/Forms.h"

#include <QString>

class QLabel;
class QFrame;
class QPushButton;
class QTextBrowser;

// The main menu's version button: shows frmAbout modally.
void ShowAboutBox();
// The main menu's information-page panel: shows a fresh frm01WebBrows
// modally and releases it when it closes.
void ShowInfoPage();

// The settings value that names the system-information viewer (there is no
// such viewer on this platform unless the user names one).
inline const QString kSysInfoSection = QStringLiteral("SysInfo");
inline const QString kSysInfoPathKey = QStringLiteral("PATH");

class frmAbout : public forms::Form {
    Q_OBJECT
public:
    frmAbout();

    QLabel* picIcon;
    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDescription;
    QLabel* lblCopyright;
    QLabel* lblDisclaimer;
    QPushButton* cmdOK;
    QPushButton* cmdSysInfo;
    QFrame* Line1[2];

    void cmdOK_Click();
    void cmdSysInfo_Click();
    // Starts the system-information viewer or says that there is none.
    void StartSysInfo();
    // Reads one settings value; true when it exists. `result` is emptied
    // when it does not.
    bool GetKeyValue(const QString& section, const QString& valueName, QString& result);

protected:
    void Form_Load() override;
};

class frm01WebBrows : public forms::Form {
    Q_OBJECT
public:
    frm01WebBrows();

    QTextBrowser* WebBrowser1;

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;

private:
    bool ready_ = false;
};
