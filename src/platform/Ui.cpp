#include "platform/Ui.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QProcess>
#include <QTranslator>

#include <utility>

namespace ui {

namespace {

std::shared_ptr<Services>& CurrentSlot()
{
    static std::shared_ptr<Services> current = std::make_shared<RealServices>();
    return current;
}

constexpr int kButtonsMask = 0x7;
constexpr int kIconMask = 0x70;

bool IsYesNo(int style)
{
    const int buttons = style & kButtonsMask;
    return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel;
}

}  // namespace

Services& Current()
{
    return *CurrentSlot();
}

std::shared_ptr<Services> SetCurrent(std::shared_ptr<Services> services)
{
    return std::exchange(CurrentSlot(), services ? std::move(services) : std::make_shared<RealServices>());
}

int MsgBox(const QString& text, int style, const QString& title)
{
    return Current().MsgBox(text, style, title);
}

void Beep()
{
    Current().Beep();
}

QString IconName(int style)
{
    switch (style & kIconMask) {
    case Icon::Critical: return QStringLiteral("critical");
    case Icon::Question: return QStringLiteral("question");
    case Icon::Exclamation: return QStringLiteral("exclamation");
    case Icon::Information: return QStringLiteral("information");
    default: return QStringLiteral("none");
    }
}

void InstallJapaneseTranslations(QCoreApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(translator);
    else
        delete translator;
}

// ---- real services -----------------------------------------------------------

int RealServices::MsgBox(const QString& text, int style, const QString& title)
{
    QMessageBox box(QApplication::activeWindow());
    // The program breaks its lines itself: each stays whole (a Japanese line
    // wrapped again would break inside a word), and the box is as wide as
    // its longest line.
    QStringList lines = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(u'\n');
    for (QString& line : lines) line = line.toHtmlEscaped();
    box.setTextFormat(Qt::RichText);
    box.setText(QStringLiteral("<p style=\"white-space:pre\">") + lines.join(QStringLiteral("<br>")) + QStringLiteral("</p>"));
    box.setWindowTitle(title);
    switch (style & kIconMask) {
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    // The button texts are set here as well as by the translation, so the
    // boxes read as the Japanese system's did even without the catalogue.
    switch (style & kButtonsMask) {
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    case Buttons::OKCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        break;
    }
    if (auto* b = box.button(QMessageBox::Yes)) b->setText(QStringLiteral("はい(&Y)"));
    if (auto* b = box.button(QMessageBox::No)) b->setText(QStringLiteral("いいえ(&N)"));
    if (auto* b = box.button(QMessageBox::Cancel)) b->setText(QStringLiteral("キャンセル"));
    if (auto* b = box.button(QMessageBox::Ok)) b->setText(QStringLiteral("OK"));

    // The pointer is an arrow while the user answers, whatever the caller set.
    const bool busy = busyDepth_ > 0;
    if (busy) QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    if (busy) QGuiApplication::restoreOverrideCursor();

    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    case QMessageBox::Ok: return Answer::OK;
    default:
        // Closed without a button: a Yes/No box can only be answered No here.
        if ((style & kButtonsMask) == Buttons::YesNo) return Answer::No;
        return (style & kButtonsMask) == Buttons::OK ? Answer::OK : Answer::Cancel;
    }
}

void RealServices::Beep()
{
    QApplication::beep();
}

// The hourglass is a state, as the mouse pointer was: setting it twice and
// clearing it once leaves the default pointer.
void RealServices::SetBusy(bool busy)
{
    if (busy && busyDepth_ == 0) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        busyDepth_ = 1;
    } else if (!busy && busyDepth_ > 0) {
        QGuiApplication::restoreOverrideCursor();
        busyDepth_ = 0;
    }
}

QStringList FileDialogNameFilters(const QString& filter)
{
    QStringList out;
    const QStringList parts = filter.split(u'|');
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1].trimmed();
        pattern.replace(u';', u' ');
        out << QStringLiteral("%1 (%2)").arg(parts[i].trimmed(), pattern.simplified());
    }
    return out;
}

namespace {

QString RunFileDialog(const FileDialogRequest& request, bool save)
{
    QFileDialog dialog(QApplication::activeWindow(), request.title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = FileDialogNameFilters(request.filter);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    if (!request.defaultExtension.isEmpty()) {
        QString ext = request.defaultExtension;
        if (ext.startsWith(u'.')) ext.remove(0, 1);
        dialog.setDefaultSuffix(ext);
    }
    if (save && !request.confirmOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite, true);

    // The initial path is a folder or a full file path; names written with
    // the old separator are taken as folders.
    QString initial = request.initialPath;
    initial.replace(u'\\', u'/');
    QString fileName = request.fileName;
    if (!initial.isEmpty()) {
        const QFileInfo info(initial);
        if (info.isDir()) {
            dialog.setDirectory(info.absoluteFilePath());
        } else {
            dialog.setDirectory(info.absolutePath());
            if (fileName.isEmpty()) fileName = info.fileName();
        }
    }
    if (!fileName.isEmpty()) dialog.selectFile(fileName);

    if (dialog.exec() != QDialog::Accepted) return QString();
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

}  // namespace

QString RealServices::GetOpenFile(const FileDialogRequest& request)
{
    return RunFileDialog(request, false);
}

QString RealServices::GetSaveFile(const FileDialogRequest& request)
{
    return RunFileDialog(request, true);
}

bool RealServices::StartProgram(const QString& path)
{
    if (path.isEmpty()) return false;
    return QProcess::startDetached(path, QStringList());
}

// ---- scripted services -------------------------------------------------------

// Every box takes the next queued answer; with none left, a Yes/No box is
// answered Yes and any other box OK.
int ScriptedServices::MsgBox(const QString& text, int style, const QString& title)
{
    const QString line = QStringLiteral("message=%1|%2").arg(IconName(style), text);
    messages << line;
    if (onMessage) onMessage(line);
    if (!answers.empty()) {
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    return IsYesNo(style) ? Answer::Yes : Answer::OK;
}

QString ScriptedServices::GetOpenFile(const FileDialogRequest& request)
{
    dialogs.push_back(request);
    if (openFiles.empty()) return QString();
    QString f = openFiles.front();
    openFiles.pop_front();
    return f;
}

QString ScriptedServices::GetSaveFile(const FileDialogRequest& request)
{
    dialogs.push_back(request);
    if (saveFiles.empty()) return QString();
    QString f = saveFiles.front();
    saveFiles.pop_front();
    return f;
}

bool ScriptedServices::StartProgram(const QString& path)
{
    startedPrograms << path;
    return startSucceeds;
}

}  // namespace ui
