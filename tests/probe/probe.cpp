// zelkova-probe: runs the real start-up in the current folder with scripted
// user answers and prints one fact per line.
//
// Usage: zelkova-probe COMMAND...   (commands run in the order given)
//   dump              the main menu: caption, project, designer, note, unit,
//                     the 13 input items with their marks, the selected index
//   answer:yes|no|ok  queue the answer of the next message box (default Yes/OK)
//   clear:yes|no      click the clear button and answer its question
//   dispatch:CODE     run the menu command CODE (RunMenuCommand)
//   setting:SECTION/KEY   print a stored setting ("<absent>" when missing)
//   save:PATH, open:PATH  click the save / open button; the file dialog answers PATH
//                     (an empty PATH cancels); prints the dialog shown
//   analyse           run the analysis command with its end confirmed
//   screen            the open input screen: screen=<window>|<caption>, and
//                     box=<name>|<text> for each of its entry boxes
//   type:NAME=TEXT    replace the text of an entry box of the open screen
//   press:NAME        click a button of the open screen
//   select:NAME=TEXT  choose the item TEXT of a combo box of the open screen
//   key:NAME=KEY      press Up, Down, Left, Right or Return in an entry box
//   ramen-png:FILE    open the frame diagram window as a list screen's "フレーム図"
//                     button does (the open input screen's button when there is
//                     one), let it draw, and save the page it shows, at the
//                     zoom it shows, as the PNG file FILE
//   preview:CODE      run the menu command CODE (10401 or 10402) as the main
//                     menu does; the display-contents dialog of the results
//                     report is answered with "表示", taking what "pif" holds.
//                     Prints the document shown (below).
//   pdf:FILE          write the document of the open preview as a PDF file
//   windows           every shown window, in load order, once the events of
//                     its showing have passed (below)
//   wait:MS           let window events through for MS milliseconds (a window
//                     manager frames and moves the windows meanwhile)
//   hold:MS           from here on, the load-combination window and the
//                     display-contents dialog are shown for MS milliseconds,
//                     and the shown windows printed as by "windows", before
//                     they are answered
//
// The load-combination window (code 10233) is not driven by the commands
// above: once it has opened it prints window=<name>|<caption>, case=<line>
// and combination=<line> for each line of its two lists, and is then closed
// with its "中止" button.
//
// Output lines:
//   message=<icon>|<text>   every message box, as it is shown (CR LF as "\n")
//   caption=…, project=…, designer=…, note=…, unit=…,
//   item=<index>|<0 or 1>|<text>, selected=<index>, menu=loaded|unloaded
//   setting=<SECTION/KEY>=<value>
//   dialog=<title>|<initial folder or path>|<initial file name>
//   ramen=<caption>         the frame diagram window after ramen-png (ramen=closed
//                           when the drawing closed it, ramen=none when it cannot open)
//   ramen-page=<lines>|<dots>|<labels>   what its page holds: lines, circles, text boxes
//   png=<FILE>|<width>x<height>          the picture written
//   ended                   the program ended (it asked to stop)
//   preview=loaded|unloaded whether the preview window took over
//   counts=<lblAP>|<lblCP>  the page counts the window shows
//   pages=<N>               pages of the document, the cover included
//   then for each page K from 1:
//     page=<K>|portrait or page=<K>|landscape
//     header=<left>|<centre>|<right>, footer=<left>|<centre>|<right>
//     line=<text>           one per printed line, top to bottom: the text of one
//                           paragraph, or of the pieces printed on one line; a
//                           move of the print position is written as blanks up
//                           to its cell of the table font (a double-byte
//                           character is two cells); trailing blanks kept;
//                           empty lines between printed ones included
//   pdf=<FILE>              the PDF file was written
//   window=<name>|<left>,<top> <width>x<height>|<screen>   a shown window: its
//                           frame in pixels and the name of its screen
//   error=<text>            a command that could not be run
// The exit status is 0 unless a command was not understood.
#include "loads/LoadCombinationWindow.h"
#include "platform/Forms.h"
#include "platform/Settings.h"
#include "platform/Ui.h"
#include "core/ProgramState.h"
#include "app/Main.h"
#include "app/MainMenuCommands.h"
#include "app/frmMainmenu.h"
#include "diagram/FrameDiagramWindow.h"
#include "input/InputControls.h"
#include "platform/preview/PageRenderer.h"
#include "common/DocumentText.h"
#include "platform/preview/PreviewWidget.h"
#include "platform/preview/Printing.h"
#include "report/PreviewEntry.h"
#include "report/frmPreview.h"
#include "report/frmPreviewInfoSetUp.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <map>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTextStream>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

QTextStream& out()
{
    static QTextStream s(stdout);
    return s;
}

void Print(const QString& line)
{
    QString l = line;
    l.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
    l.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    out() << l << '\n';
    out().flush();
}

void Ended()
{
    Print(QStringLiteral("ended"));
    reg::Sync();
    std::fflush(stdout);
    std::_Exit(0);
}

void Dump()
{
    if (!MainMenuLoaded()) {
        Print(QStringLiteral("menu=unloaded"));
        return;
    }
    frmMainmenu& m = MainMenuForm();
    Print(QStringLiteral("menu=loaded"));
    Print(QStringLiteral("caption=") + m.windowTitle());
    Print(QStringLiteral("project=") + m.lblConstructionName->text());
    Print(QStringLiteral("designer=") + m.lblDesign->text());
    Print(QStringLiteral("note=") + m.lblnote->text());
    Print(QStringLiteral("unit=") + m.lblUnit->text());
    for (int i = 0; i < m.lstInputMenu->count(); ++i) {
        QListWidgetItem* item = m.lstInputMenu->item(i);
        Print(QStringLiteral("item=%1|%2|%3").arg(i).arg(item->checkState() == Qt::Checked ? 1 : 0).arg(item->text()));
    }
    Print(QStringLiteral("selected=%1").arg(m.lstInputMenu->currentRow()));
    Print(QStringLiteral("enabled=%1").arg(m.isEnabled() ? 1 : 0));
}

QWidget* ScreenControl(const QString& name)
{
    if (!Program().CurrentInputForm) {
        Print(QStringLiteral("error=no input screen"));
        return nullptr;
    }
    QWidget* w = Program().CurrentInputForm->findChild<QWidget*>(name);
    if (!w) Print(QStringLiteral("error=no control ") + name);
    return w;
}

void DumpScreen()
{
    if (!Program().CurrentInputForm || !Program().CurrentInputForm->IsLoaded()) {
        Print(QStringLiteral("screen=none"));
        return;
    }
    Print(QStringLiteral("screen=%1|%2").arg(Program().CurrentInputForm->objectName(), Program().CurrentInputForm->windowTitle()));
    for (QLineEdit* box : Program().CurrentInputForm->findChildren<QLineEdit*>())
        if (!box->objectName().isEmpty() && !box->objectName().startsWith(QLatin1String("qt_")))
            Print(QStringLiteral("box=%1|%2").arg(box->objectName(), box->text()));
}

// Opens the frame diagram window as the list screens' button does and saves
// the page it shows.
void SaveFrameDiagram(const QString& file)
{
    const QString name = QStringLiteral("frmラーメン図");
    QWidget* button = Program().CurrentInputForm ? Program().CurrentInputForm->findChild<QWidget*>(QStringLiteral("cmdReferRAMEN"))
                                                 : nullptr;
    if (auto* b = qobject_cast<QAbstractButton*>(button)) {
        b->click();
    } else if (forms::Form* f = ScreenInstance(name)) {
        f->Show();
    }
    QCoreApplication::processEvents();
    auto* w = dynamic_cast<frmラーメン図*>(ScreenInstance(name));
    if (!w) {
        Print(QStringLiteral("ramen=none"));
        return;
    }
    if (!w->IsLoaded()) {
        Print(QStringLiteral("ramen=closed"));
        return;
    }
    Print(QStringLiteral("ramen=") + w->windowTitle());
    const preview::Document& doc = w->vsp->CurrentDocument();
    int counts[3] = {0, 0, 0};
    if (!doc.pages.empty())
        for (const preview::DrawOp& op : doc.pages[static_cast<size_t>(w->vsp->PreviewPage() - 1)].ops) {
            if (op.kind == preview::OpKind::Line) ++counts[0];
            if (op.kind == preview::OpKind::Circle) ++counts[1];
            if (op.kind == preview::OpKind::TextBox) ++counts[2];
        }
    Print(QStringLiteral("ramen-page=%1|%2|%3").arg(counts[0]).arg(counts[1]).arg(counts[2]));
    const QImage page = preview::RenderPageImage(doc, w->vsp->PreviewPage() - 1, w->vsp->ZoomPercent() / 100.0 / 15.0);
    if (page.isNull() || !page.save(file, "PNG")) {
        Print(QStringLiteral("error=cannot write ") + file);
        return;
    }
    Print(QStringLiteral("png=%1|%2x%3").arg(file).arg(page.width()).arg(page.height()));
}

void Wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void PrintShownWindows()
{
    QCoreApplication::processEvents();
    for (const forms::Form* f : forms::LoadedForms()) {
        if (!f->isVisible()) continue;
        const QRect r = f->frameGeometry();
        Print(QStringLiteral("window=%1|%2,%3 %4x%5|%6")
                  .arg(f->Name())
                  .arg(r.x())
                  .arg(r.y())
                  .arg(r.width())
                  .arg(r.height())
                  .arg(f->screen() ? f->screen()->name() : QString()));
    }
}

// How long the windows that the probe answers itself stay shown first (hold:MS).
int g_holdMs = 0;

void HoldShown(QWidget& window)
{
    if (g_holdMs <= 0) return;
    window.show();
    Wait(g_holdMs);
    PrintShownWindows();
}

void RunLoadCombinationWindow(frm01荷重組合せ& w)
{
    Print(QStringLiteral("window=%1|%2").arg(w.objectName(), w.windowTitle()));
    for (int i = 0; i < w.List荷重ケース->count(); ++i) Print(QStringLiteral("case=") + w.List荷重ケース->item(i)->text());
    for (int i = 0; i < w.List荷重組合せ->count(); ++i)
        Print(QStringLiteral("combination=") + w.List荷重組合せ->item(i)->text());
    HoldShown(w);
    w.Cmd中止->click();
}

void DumpPreview()
{
    frmPreview* w = CurrentPreviewWindow();
    Print(QStringLiteral("preview=") + (w ? QStringLiteral("loaded") : QStringLiteral("unloaded")));
    if (!w) return;
    Print(QStringLiteral("counts=%1|%2").arg(w->lblAP->text(), w->lblCP->text()));
    const preview::Document& doc = w->vsp->CurrentDocument();
    Print(QStringLiteral("pages=%1").arg(doc.pages.size()));
    for (size_t k = 0; k < doc.pages.size(); ++k) {
        const preview::Page& page = doc.pages[k];
        Print(QStringLiteral("page=%1|%2").arg(k + 1).arg(testenv::OrientationName(page)));
        Print(QStringLiteral("header=") + testenv::HeaderParts(page.settings.headerText));
        Print(QStringLiteral("footer=") + testenv::HeaderParts(page.settings.footerText));
        for (const QString& line : testenv::PageLines(doc, static_cast<int>(k))) Print(QStringLiteral("line=") + line);
    }
}

int ParseAnswer(const QString& word)
{
    if (word == QLatin1String("yes")) return ui::Answer::Yes;
    if (word == QLatin1String("no")) return ui::Answer::No;
    if (word == QLatin1String("ok")) return ui::Answer::OK;
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ProgramStateScope programState;
    InitApplication(app);

    auto script = std::make_shared<ui::ScriptedServices>();
    script->onMessage = [](const QString& line) { Print(line); };
    ui::SetCurrent(script);
    forms::SetEndProgramHandler(Ended);
    forms::SetLastWindowHandler(Ended);
    SetPreviewInfoDialogRunner([](frmPreviewInfoSetUp& dialog) {
        HoldShown(dialog);
        dialog.cmdOK->click();
    });

    QStringList args = app.arguments().mid(1);
    // Answers given before start-up serve its questions.
    while (!args.isEmpty() && args.first().startsWith(QLatin1String("answer:"))) {
        script->answers.push_back(ParseAnswer(args.takeFirst().mid(7)));
    }
    if (!Main()) Ended();
    QCoreApplication::processEvents();

    int status = 0;
    for (const QString& arg : args) {
        const int colon = arg.indexOf(QLatin1Char(':'));
        const QString cmd = colon < 0 ? arg : arg.left(colon);
        const QString value = colon < 0 ? QString() : arg.mid(colon + 1);
        if (cmd == QLatin1String("dump")) {
            Dump();
        } else if (cmd == QLatin1String("answer")) {
            script->answers.push_back(ParseAnswer(value));
        } else if (cmd == QLatin1String("clear")) {
            if (!MainMenuLoaded()) {
                Print(QStringLiteral("error=no main menu"));
                continue;
            }
            script->answers.push_back(ParseAnswer(value));
            MainMenuForm().cmdClear_Click();
        } else if (cmd == QLatin1String("dispatch")) {
            if (!MainMenuLoaded()) {
                Print(QStringLiteral("error=no main menu"));
                continue;
            }
            RunMenuCommand(int16_t(value.toInt()));
            if (auto* w = dynamic_cast<frm01荷重組合せ*>(Program().CurrentInputForm.data()); w && w->IsLoaded())
                RunLoadCombinationWindow(*w);
        } else if (cmd == QLatin1String("analyse")) {
            if (!MainMenuLoaded()) {
                Print(QStringLiteral("error=no main menu"));
                continue;
            }
            RunMenuCommand(ScreenAnalysis);
            Print(QStringLiteral("setting=Public/AnalyzeFinish=")
                  + reg::GetSetting(QStringLiteral("Public"), QStringLiteral("AnalyzeFinish"), QStringLiteral("<absent>")));
        } else if (cmd == QLatin1String("save") || cmd == QLatin1String("open")) {
            if (!MainMenuLoaded()) {
                Print(QStringLiteral("error=no main menu"));
                continue;
            }
            const size_t shown = script->dialogs.size();
            if (cmd == QLatin1String("save")) {
                script->saveFiles.push_back(value);
                MainMenuForm().cmdSave_Click();
            } else {
                script->openFiles.push_back(value);
                MainMenuForm().cmdOpen_Click();
            }
            for (size_t i = shown; i < script->dialogs.size(); ++i) {
                const ui::FileDialogRequest& d = script->dialogs[i];
                Print(QStringLiteral("dialog=%1|%2|%3").arg(d.title, d.initialPath, d.fileName));
            }
        } else if (cmd == QLatin1String("screen")) {
            DumpScreen();
        } else if (cmd == QLatin1String("windows")) {
            PrintShownWindows();
        } else if (cmd == QLatin1String("wait")) {
            Wait(value.toInt());
        } else if (cmd == QLatin1String("hold")) {
            g_holdMs = value.toInt();
        } else if (cmd == QLatin1String("type")) {
            const int eq = value.indexOf(QLatin1Char('='));
            if (auto* box = qobject_cast<QLineEdit*>(ScreenControl(value.left(eq)))) box->setText(value.mid(eq + 1));
        } else if (cmd == QLatin1String("select")) {
            const int eq = value.indexOf(QLatin1Char('='));
            if (auto* combo = qobject_cast<QComboBox*>(ScreenControl(value.left(eq)))) {
                const int index = combo->findText(value.mid(eq + 1));
                if (index >= 0) combo->setCurrentIndex(index);
                else Print(QStringLiteral("error=no item ") + value.mid(eq + 1));
            }
        } else if (cmd == QLatin1String("press")) {
            if (auto* b = qobject_cast<QAbstractButton*>(ScreenControl(value))) b->click();
        } else if (cmd == QLatin1String("key")) {
            const int eq = value.indexOf(QLatin1Char('='));
            static const std::map<QString, int> keys = {{"Up", Qt::Key_Up}, {"Down", Qt::Key_Down}, {"Left", Qt::Key_Left},
                                                       {"Right", Qt::Key_Right}, {"Return", Qt::Key_Return}};
            auto k = keys.find(value.mid(eq + 1));
            QWidget* w = ScreenControl(value.left(eq));
            if (w && k != keys.end()) {
                QKeyEvent press(QEvent::KeyPress, k->second, Qt::NoModifier);
                QApplication::sendEvent(w, &press);
            }
        } else if (cmd == QLatin1String("ramen-png")) {
            SaveFrameDiagram(value);
        } else if (cmd == QLatin1String("preview")) {
            if (!MainMenuLoaded()) {
                Print(QStringLiteral("error=no main menu"));
                continue;
            }
            RunMenuCommand(int16_t(value.toInt()));
            DumpPreview();
        } else if (cmd == QLatin1String("pdf")) {
            frmPreview* w = CurrentPreviewWindow();
            QString why;
            if (!w) Print(QStringLiteral("error=no preview"));
            else if (preview::ExportPdf(w->vsp->CurrentDocument(), value, &why)) Print(QStringLiteral("pdf=") + value);
            else Print(QStringLiteral("error=") + why);
        } else if (cmd == QLatin1String("setting")) {
            const int slash = value.lastIndexOf(QLatin1Char('/'));
            QString v = reg::GetSetting(value.left(slash), value.mid(slash + 1), QStringLiteral("<absent>"));
            Print(QStringLiteral("setting=") + value + QLatin1Char('=') + v);
        } else {
            Print(QStringLiteral("error=unknown command ") + arg);
            status = 2;
        }
        QCoreApplication::processEvents();
    }
    reg::Sync();
    std::fflush(stdout);
    // Leave without running window destructors: the program's state is what
    // was printed.
    std::_Exit(status);
}
