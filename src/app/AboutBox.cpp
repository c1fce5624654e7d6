#include "app/AboutBox.h"

#include "platform/Settings.h"
#include "platform/Ui.h"
#include "core/ProgramState.h"
#include "app/InfoPage.h"
#include "core/WindowHelpers.h"

#include <QApplication>
#include <QDate>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTextBrowser>
#include <QUrl>

#include <memory>

using forms::PlaceTw;

namespace {

const QString kAppTitle = QStringLiteral("ZELKOVA");
const QString kRevision = QStringLiteral("080329");

QLabel* AboutLabel(QWidget* parent, const char* name, const QString& text, double l, double t, double w, double h)
{
    QLabel* lb = new QLabel(text, parent);
    lb->setObjectName(QString::fromUtf8(name));
    lb->setWordWrap(true);
    lb->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PlaceTw(lb, l, t, w, h);
    return lb;
}

QPushButton* AboutButton(QWidget* parent, const char* name, const QString& text, double l, double t, double w, double h)
{
    QPushButton* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromUtf8(name));
    PlaceTw(b, l, t, w, h);
    return b;
}

}  // namespace

// ---- frmAbout -----------------------------------------------------------------

frmAbout::frmAbout() : forms::Form(QStringLiteral("frmAbout"))
{
    SetClientSizeTw(6465, 3555);
    SetCaption(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setWindowFlag(Qt::WindowMinMaxButtonsHint, false);

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull()) icon = style()->standardIcon(QStyle::SP_ComputerIcon);
    picIcon->setPixmap(icon.pixmap(32, 32));
    PlaceTw(picIcon, 240, 240, 540, 540);

    lblTitle = AboutLabel(this, "lblTitle", QString(), 1080, 240, 5085, 480);
    QFont big = lblTitle->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    lblTitle->setFont(big);
    lblVersion = AboutLabel(this, "lblVersion", QString(), 1080, 840, 4965, 225);
    lblDescription = AboutLabel(this, "lblDescription", QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝの説明"), 1080, 1200, 5085, 690);
    lblCopyright = AboutLabel(this, "lblCopyright", QString(), 1080, 2040, 5085, 225);
    lblDisclaimer = AboutLabel(this, "lblDisclaimer", QString(), 255, 2505, 4470, 945);
    cmdOK = AboutButton(this, "cmdOK", QStringLiteral("OK"), 4845, 2505, 1380, 345);
    cmdOK->setDefault(true);
    cmdSysInfo = AboutButton(this, "cmdSysInfo", QStringLiteral("ｼｽﾃﾑ情報(&S)..."), 4860, 2955, 1380, 345);
    for (int i = 0; i < 2; ++i) {
        Line1[i] = new QFrame(this);
        Line1[i]->setObjectName(QStringLiteral("Line1"));
        Line1[i]->setFrameShape(QFrame::HLine);
        Line1[i]->setFrameShadow(i == 0 ? QFrame::Sunken : QFrame::Plain);
        PlaceTw(Line1[i], 255, 1935 + i * 15, 5970, 30);
    }
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { cmdSysInfo_Click(); });
}

void frmAbout::Form_Load()
{
    CentreOnMainMenu(this);
    SetCaption(kAppTitle + QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報"));
    lblTitle->setText(kAppTitle + QStringLiteral("　（断面設計機能）"));
    lblVersion->setText(QStringLiteral("ﾊﾞｰｼﾞｮﾝ   ") + Program().ProgramVersion + QStringLiteral("    rev. ") + kRevision);
    lblCopyright->setText(QStringLiteral("Copyright (C) %1 ZELKOVA developers").arg(QDate::currentDate().year()));
    lblDisclaimer->setText(QStringLiteral("計算結果は、技術者が内容を確認した上で使用して下さい。\n"
                                          "このプログラムの使用によって生じた損害について、作者は責任を負いません。"));
}

void frmAbout::cmdOK_Click() { Unload(); }

void frmAbout::cmdSysInfo_Click() { StartSysInfo(); }

void frmAbout::StartSysInfo()
{
    QString path;
    if (GetKeyValue(kSysInfoSection, kSysInfoPathKey, path) && !path.trimmed().isEmpty() &&
        ui::Current().StartProgram(path.trimmed()))
        return;
    Program().MsgResult = static_cast<int16_t>(ui::MsgBox(QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません"), ui::Buttons::OK, AppTitle));
}

bool frmAbout::GetKeyValue(const QString& section, const QString& valueName, QString& result)
{
    if (!reg::HasSetting(section, valueName)) {
        result.clear();
        return false;
    }
    result = reg::GetSetting(section, valueName);
    return true;
}

void ShowAboutBox()
{
    auto box = std::make_unique<frmAbout>();
    box->ShowModal();
}

// ---- frm01WebBrows ------------------------------------------------------------

frm01WebBrows::frm01WebBrows() : forms::Form(QStringLiteral("frm01WebBrows"))
{
    RegisterInfoPage();
    SetClientSizeTw(11760, 8265);
    WebBrowser1 = new QTextBrowser(this);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setOpenExternalLinks(true);
    PlaceTw(WebBrowser1, 120, 120, 11535, 7935);
    CloseWithEscape(this);
}

void frm01WebBrows::Form_Load() { CentreOnMainMenu(this); }

void frm01WebBrows::Form_Activate()
{
    ready_ = false;
    SetCaption(InfoPageTitle());
    // The browser fills the window; the page is loaded once per opening, so
    // coming back to the window keeps the reader's place.
    WebBrowser1->setGeometry(0, 0, width(), height());
    const QUrl address(InfoPageAddress());
    if (WebBrowser1->source() != address) WebBrowser1->setSource(address);
    ready_ = true;
}

void frm01WebBrows::Form_Resize()
{
    if (ready_) WebBrowser1->setGeometry(0, 0, width(), height());
}

void ShowInfoPage()
{
    auto window = std::make_unique<frm01WebBrows>();
    window->ShowModal();
}
