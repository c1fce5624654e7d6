#include "input/InputStart.h"

#include "input/InputControls.h"
#include "input/InputScreen.h"
#include "database/WorkingFiles.h"
#include "platform/DataGrid.h"
#include "platform/Forms.h"
#include "platform/SafeFile.h"
#include "platform/Settings.h"
#include "platform/Ui.h"
#include "core/ProgramState.h"
#include "core/Messages.h"
#include "core/ResultsFlag.h"
#include "core/NotAvailable.h"
#include "core/WindowHelpers.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>

#include <cstdio>
#include <map>

namespace {

std::map<int16_t, InputScreenDescription>& Screens()
{
    static std::map<int16_t, InputScreenDescription> screens;
    return screens;
}

// The framework's own buttons, on every screen that has them.
struct ToolTip {
    const char* control;
    const char* text;
};

const ToolTip kToolTips[] = {
    {"cmdMF", "選択されているデータの並び順を先頭にします"},
    {"cmdMU", "選択されているデータの並び順を、1つ前のデータと入れ換えます"},
    {"cmdMD", "選択されているデータの並び順を1つ後のデータと入れ換えます"},
    {"cmdML", "選択されているデータの並び順を最後にします"},
    {"cmd削除", "選択されているデータを削除します"},
    {"cmd追加", "入力したデータを追加します。[下矢印キー]でも同様の処理ができます。"},
    {"cmd修正", "選択されているデータを、入力したデータに修正します。[矢印キーの上下]でも同様の処理ができます。"},
    {"Cmd登録", "この画面で実行したデータの編集を決定します"},
    {"cmdCancel", "この画面で実行したデータの編集を無効にします"},
    {"cmdReferRAMEN", "現在の入力データを基に、ラーメン図を表示します"},
    {"cmdAllDelete", "現在の入力データを全て削除します"},
};


// Replaces `to` by a byte copy of `from`, synced to disk: the copy is what a
// crash falls back on. False, with no copy left, when it cannot.
bool CopyReplacing(const QString& from, const QString& to)
{
    if (!QFile::exists(from)) return false;
    if (QFile::exists(to) && !QFile::remove(to)) return false;
    if (!QFile::copy(from, to)) return false;
    if (files::SyncToDisk(to)) return true;
    QFile::remove(to);
    return false;
}

void ForgetResultsFlag()
{
    Program().ResultsFlagWasStored = false;
    Program().ResultsFlagBefore.clear();
}

// The working file is as it was before the screen's first edit: the results
// flag is too.
void PutResultsFlagBack()
{
    if (Program().ResultsFlagWasStored)
        reg::SaveSetting(QStringLiteral("Public"), QStringLiteral("AnalyzeFinish"), Program().ResultsFlagBefore);
    else
        reg::DeleteSetting(QStringLiteral("Public"), QStringLiteral("AnalyzeFinish"));
    // Stale on disk is safe: while another copy writes, it is put back later.
    reg::SyncIfFree();
    ForgetResultsFlag();
}

// Puts the backup in place of the working file, as the start-up does with the
// copy of a screen that a crash left: one rename, so no moment exists without
// a database, and a failure leaves both files as they are. Only then is the
// results flag as it was before the screen; either way it is forgotten.
// Every connection to the working file is closed.
bool RestoreInputBackup()
{
    if (!ReplaceWorkingDatabase(kBackupDatabase, true)) {
        ForgetResultsFlag();
        return false;
    }
    PutResultsFlagBack();
    return true;
}

// The first box of the Tab order, text selected, so that the first keystroke
// replaces it.
void SelectFirstEntryBox(forms::Form* f)
{
    for (QWidget* w = f->nextInFocusChain(); w && w != f; w = w->nextInFocusChain()) {
        auto* box = qobject_cast<QLineEdit*>(w);
        if (!box || !(box->focusPolicy() & Qt::TabFocus) || !box->isEnabled() || !box->isVisibleTo(f) || box->isReadOnly())
            continue;
        if (box->window() != f) continue;
        f->activateWindow();
        SelectEntryBox(box);
        return;
    }
}

// Records the flag as it is, then stores it False on disk before the screen
// can change anything: whatever the screen writes, a crash leaves the results
// stale, and a cancel that puts the backup back restores the flag. False,
// after the message, when the flag cannot be stored.
bool MarkResultsStaleForScreen()
{
    Program().ResultsFlagWasStored = reg::HasSetting(QStringLiteral("Public"), QStringLiteral("AnalyzeFinish"));
    Program().ResultsFlagBefore = reg::GetSetting(QStringLiteral("Public"), QStringLiteral("AnalyzeFinish"));
    return StoreResultsStale(QStringLiteral("入力画面を開けません"));
}

bool OwnPlacement()
{
    const InputScreenDescription* entry = FindInputScreen(Program().ScreenCode);
    return entry && entry->ownPlacement;
}

}  // namespace

void RegisterInputScreen(const InputScreenDescription& screen)
{
    Screens()[screen.code] = screen;
    RegisterWindow(screen.code, screen.formName, screen.create);
}

const InputScreenDescription* FindInputScreen(int16_t code)
{
    auto it = Screens().find(code);
    return it == Screens().end() ? nullptr : &it->second;
}


bool InputFormEnding() { return Program().InputEnding; }

bool StartInputForm()
{
    const InputScreenDescription* entry = FindInputScreen(Program().ScreenCode);
    // A code without a screen in this build opens nothing and takes no copy.
    if (!entry || !HasScreenFactory(entry->formName)) {
        ShowWindowNotAvailable(entry ? WindowTitle(entry->code).trimmed() : QStringLiteral("入力画面"));
        return false;
    }

    if (!CopyReplacing(kWorkingDatabase, kBackupDatabase)) {
        ShowDatabaseAccessMessage();
        return false;
    }
    Program().InputBackupTaken = true;
    if (!MarkResultsStaleForScreen()) {
        ForgetResultsFlag();
        Program().InputBackupTaken = false;
        QFile::remove(kBackupDatabase);
        return false;
    }

    bool failed = false;
    try {
        CreateInputForm();
        if (!Program().CurrentInputForm) rt::Raise(rt::ErrObjectNotFound, entry->formName);
        forms::Form* f = Program().CurrentInputForm.data();
        f->Load();
        // A window that closed itself while loading (after its own message)
        // leaves the caller's window in charge.
        if (f->IsLoaded()) {
            if (!entry->ownPlacement) RestoreInputFormPosition();
            SetupInputGridAndToolTips();
            LimitTabStopsToEntryBoxes();
            f->Show();
            SelectFirstEntryBox(f);
            return true;
        }
    } catch (const std::exception&) {
        failed = true;
    }
    // The screen could not be opened: whatever its load wrote goes with the
    // copy put back, and the caller's window stays in charge.
    if (forms::Form* f = Program().CurrentInputForm.data()) {
        if (auto* s = qobject_cast<InputScreen*>(f)) {
            s->MarkEnding();
            CloseInputRecordsets(s->ScreenDatabase, s->ScreenRecordset);
        }
        Program().InputEnding = true;
        try { if (f->IsLoaded()) f->Unload(); } catch (...) {}
        Program().InputEnding = false;
    }
    Program().CurrentInputForm = nullptr;
    Program().InputBackupTaken = false;
    if (!RestoreInputBackup()) failed = true;
    if (failed) ShowDatabaseAccessMessage();
    return false;
}

void CreateInputForm()
{
    const InputScreenDescription* entry = FindInputScreen(Program().ScreenCode);
    if (!entry) return;
    Program().GridRowCount = entry->gridRows;
    Program().InputTableName = entry->table;
    Program().CurrentInputForm = ScreenInstance(entry->formName);
}

void RestoreInputFormPosition()
{
    forms::Form* f = Program().CurrentInputForm.data();
    if (!f) return;
    // A stored value that does not read as a number counts as absent; the
    // values are Singles.
    auto stored = [](const QString& key) -> std::optional<double> {
        const std::optional<double> v = reg::GetNumberIfStored(QStringLiteral("Input"), key);
        return v ? std::optional<double>(static_cast<float>(*v)) : std::nullopt;
    };
    // By default centred on the screen of the main menu that opens it.
    f->MoveOnScreenTw(stored(QStringLiteral("InputLeft")), stored(QStringLiteral("InputTop")), WorkingScreenArea());
}

void SaveInputFormPosition()
{
    forms::Form* f = Program().CurrentInputForm.data();
    if (!f || f->IsMinimized()) return;
    reg::SaveSetting(QStringLiteral("Input"), QStringLiteral("InputLeft"), rt::CStrSingle(static_cast<float>(f->LeftTw())));
    reg::SaveSetting(QStringLiteral("Input"), QStringLiteral("InputTop"), rt::CStrSingle(static_cast<float>(f->TopTw())));
}

void SetupInputGridAndToolTips()
{
    forms::Form* f = Program().CurrentInputForm.data();
    if (!f) return;
    try {
        if (auto* grid = qobject_cast<dao::DataGrid*>(FindControl(f, QStringLiteral("DBGrid"))))
            grid->SetHeightTw(Program().GridRowCount * grid->RowHeight() + 140);
    } catch (...) {}
    bool tips = true;
    try { tips = reg::GetBool(QStringLiteral("Public"), QStringLiteral("ChkToolTipText"), true); } catch (...) {}
    if (!tips) return;
    for (const ToolTip& t : kToolTips) {
        if (QWidget* w = FindControl(f, QString::fromUtf8(t.control))) w->setToolTip(QString::fromUtf8(t.text));
    }
    if (auto* s = qobject_cast<InputScreen*>(f))
        for (const auto& [control, text] : s->OwnToolTips())
            if (QWidget* w = FindControl(f, control)) w->setToolTip(text);
}

namespace {
// Internal parts of composite controls (the edit of a combo box, the viewport
// of a grid) are not controls of the window.
bool IsWindowControl(QWidget* w, QWidget* window)
{
    if (w->objectName().isEmpty() || w->objectName().startsWith(QStringLiteral("qt_"))) return false;
    for (QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (qobject_cast<QComboBox*>(p) || qobject_cast<QAbstractSpinBox*>(p) || qobject_cast<QAbstractItemView*>(p))
            return false;
    return true;
}
}  // namespace

void LimitTabStopsToEntryBoxes()
{
    forms::Form* f = Program().CurrentInputForm.data();
    if (!f) return;
    for (QWidget* w : f->findChildren<QWidget*>()) {
        try {
            if (!IsWindowControl(w, f)) continue;
            const bool entry = (qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w)) &&
                               w->objectName() != QStringLiteral("txtNo");
            SetTabStop(w, entry);
        } catch (...) {}
    }
}

namespace {
// The screen goes before the main menu comes back: for that moment no window
// is loaded, which must not end the program. The handler is set aside and
// called afterwards only if no window took over.
class ReplacingWindows {
public:
    ReplacingWindows() : handler_(forms::GetLastWindowHandler()) { forms::SetLastWindowHandler(nullptr); }
    ~ReplacingWindows()
    {
        forms::SetLastWindowHandler(handler_);
        if (forms::LoadedForms().empty() && handler_) handler_();
    }

private:
    std::function<void()> handler_;
};
}  // namespace

void EndInputForm(bool cancelled)
{
    ReplacingWindows replacing;
    if (!OwnPlacement()) {
        try { SaveInputFormPosition(); } catch (...) {}
    }

    if (auto* s = qobject_cast<InputScreen*>(Program().CurrentInputForm.data())) s->MarkEnding();
    Program().InputEnding = true;
    forms::UnloadOtherForms();
    Program().InputEnding = false;
    Program().CurrentInputForm = nullptr;

    // Every connection is closed now. A cancel puts the copy in place of the
    // working file; only then are the results as they were.
    bool ok = true;
    const bool ownCopy = Program().InputBackupTaken;
    Program().InputBackupTaken = false;
    if (ownCopy && QFile::exists(kBackupDatabase)) {
        if (cancelled) ok = RestoreInputBackup();
        else ok = QFile::remove(kBackupDatabase);
    }
    ForgetResultsFlag();
    if (!ok) ShowDatabaseAccessMessage();

    if (!cancelled) reg::SaveSetting(QStringLiteral("Public"), QStringLiteral("AnalyzeFinish"), QStringLiteral("False"));
    ShowMainMenuAgain();
}

void MarkResultsStaleForGood()
{
    // The flag is False on disk since the screen opened; only what a cancel
    // puts back changes.
    Program().ResultsFlagWasStored = true;
    Program().ResultsFlagBefore = QStringLiteral("False");
}

bool RefreshInputBackup()
{
    if (!Program().InputBackupTaken) return true;
    // The new copy is complete before it replaces the old one; its name
    // bears the mark of the program's temporary files, so that one a kill
    // left behind goes at the next start.
    const QString fresh = files::TemporaryNameOf(kBackupDatabase);
    const bool ok = CopyReplacing(kWorkingDatabase, fresh) &&
                    std::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(kBackupDatabase).constData()) == 0;
    if (!ok) {
        QFile::remove(fresh);
        ShowDatabaseAccessMessage();
        return false;
    }
    // The copy holds the edits made so far: a cancel keeps them, and with
    // them the stale results.
    MarkResultsStaleForGood();
    return true;
}

int16_t ConfirmCancelInput(int16_t reason)
{
    if (!reg::GetBool(QStringLiteral("Public"), QStringLiteral("ChkCancel"), true)) return 6;
    if (!Program().WarnOnCancel) return 0;
    QString text;
    if (reason == 0)
        text = QStringLiteral("コントロール メニューの<閉じる>がクリックされました。\r\n"
                              "<ｷｬﾝｾﾙ>ボタンと同様に、ここで入力したデータは全て保存されません。"
                              "よろしいですか？");
    else
        text = QStringLiteral("<ｷｬﾝｾﾙ>ボタンがクリックされたので\r\n"
                              "ここで入力したデータは全て保存されません。よろしいですか？");
    ui::Beep();
    return static_cast<int16_t>(ui::MsgBox(text, ui::Icon::Question | ui::Buttons::YesNo, AppTitle));
}

void CloseInputRecordsets(dao::DatabasePtr& db, dao::RecordsetPtr& rs)
{
    try { if (rs) rs->Close(); } catch (...) {}
    rs.reset();
    try { if (Program().WorkRecordset) Program().WorkRecordset->Close(); } catch (...) {}
    Program().WorkRecordset.reset();
    try { if (db) db->Close(); } catch (...) {}
    db.reset();
}

// ---- InputScreen -----------------------------------------------------------

void InputScreen::CancelInput()
{
    if (ConfirmCancelInput(1) == 7) return;
    MarkEnding();
    CloseInputRecordsets(ScreenDatabase, ScreenRecordset);
    EndInputForm(true);
}

void InputScreen::CommitInput()
{
    MarkEnding();
    CloseInputRecordsets(ScreenDatabase, ScreenRecordset);
    EndInputForm(false);
}

void InputScreen::Form_QueryUnload(bool& cancel, int unloadMode)
{
    if (unloadMode != forms::UnloadFromCloseBox || ending_) return;
    if (ConfirmCancelInput(0) == 7) {
        cancel = true;
        return;
    }
    MarkEnding();
    CloseInputRecordsets(ScreenDatabase, ScreenRecordset);
    EndInputForm(true);
}

void InputScreen::Form_Unload(bool& cancel)
{
    if (ending_ || Program().InputEnding) return;
    // Gone by neither of its own paths (the session ends): whatever was
    // written stays, so the results are stale; the files stay as they are.
    ending_ = true;
    CloseInputRecordsets(ScreenDatabase, ScreenRecordset);
    try {
        reg::SaveSetting(QStringLiteral("Public"), QStringLiteral("AnalyzeFinish"), QStringLiteral("False"));
    } catch (...) {}
}
