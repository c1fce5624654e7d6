#include "platform/Settings.h"

#include "platform/Runtime.h"
#include "platform/FolderLock.h"
#include "platform/SafeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QTimer>
#include <QVariant>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

namespace reg {

namespace {

// Every value by its full stored name ("Input/Ramen/Zoom"), in the order of
// the names, as QSettings keeps them.
using Values = QMap<QString, QVariant>;

// One value this run set (a value) or removed (none), by its spelling here.
struct Change {
    QString section;   // "Input\Ramen"
    QString key;
    std::optional<QString> value;
};

// The settings of the program, held in memory. The file is the user's
// "ZELKOVA/ZELKOVA.conf" under the configuration folder ($XDG_CONFIG_HOME),
// in QSettings' INI format. Another running copy of the program, or the
// user, may change the file at any time: each write reads it afresh and
// applies only the values this run changed since its last write, so that
// nothing stored meanwhile is reverted.
struct Store {
    QString path;
    Values values;
    // The changes not yet in the file, by their name in lower case.
    QMap<QString, Change> pending;
    bool writePosted = false;  // a write waits for the event loop
};

std::unique_ptr<Store>& StoreSlot()
{
    static std::unique_ptr<Store> store;
    return store;
}

QString SettingsFileName() { return QStringLiteral("ZELKOVA.conf"); }

// Every write holds the lock on the settings folder while it reads and
// writes the file: a lock that a killed writer never leaves taken.
QString FolderOf(const QString& path) { return QFileInfo(path).absolutePath(); }
constexpr int kLockWaitMs = 5000;

// Every value of a settings file as QSettings reads it.
Values ReadValues(const QString& path, QSettings::Status* status = nullptr)
{
    Values values;
    QSettings file(path, QSettings::IniFormat);
    for (const QString& key : file.allKeys()) values.insert(key, file.value(key));
    if (status) *status = file.status();
    return values;
}

// True when `name` is a scratch file of an earlier write ("ZELKOVA.conf."
// and eight hexadecimal digits), or what is made beside one while it is
// written: the safe writer's temporary file (a point and eight hexadecimal
// digits), QSettings' lock and its own temporary file (a point and six
// letters or digits).
bool IsScratchName(const QString& name)
{
    static const QRegularExpression besideScratch(QStringLiteral("\\.(lock|[A-Za-z0-9]{6}|[0-9a-f]{8})$"));
    const QRegularExpressionMatch match = besideScratch.match(name);
    return files::IsTemporaryNameOf(name, SettingsFileName()) ||
           (match.hasMatch() && files::IsTemporaryNameOf(name.left(match.capturedStart()), SettingsFileName()));
}

// Removes what a write killed on the way left beside the file. Under the
// lock: a write of another running copy keeps its scratch files.
void RemoveLeftoverScratchFiles(const QString& path)
{
    const QDir folder = QFileInfo(path).absoluteDir();
    if (!folder.exists()) return;
    const QStringList names = folder.entryList({SettingsFileName() + QStringLiteral(".*")},
                                               QDir::Files | QDir::Hidden | QDir::System);
    if (std::none_of(names.cbegin(), names.cend(), IsScratchName)) return;
    const files::FolderLock lock(folder.absolutePath(), kLockWaitMs);
    if (!lock.Held()) return;
    for (const QString& name : names)
        if (IsScratchName(name)) QFile::remove(folder.filePath(name));
}

Store& CurrentStore()
{
    std::unique_ptr<Store>& store = StoreSlot();
    if (!store) {
        store = std::make_unique<Store>();
        // Named explicitly: Qt 6 would name a user-scope INI file ".ini".
        store->path = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                      + QStringLiteral("/ZELKOVA/") + SettingsFileName();
        RemoveLeftoverScratchFiles(store->path);
        if (QFileInfo::exists(store->path)) store->values = ReadValues(store->path);
    }
    return *store;
}

QStringList GroupPath(const Values& values, const QString& section);
QString ExistingKey(const Values& values, const QString& section, const QString& key);

// The full stored name a change takes among `values`: the spelling stored
// there, or its own where there is none.
QString StoredName(const Values& values, const Change& change)
{
    const QString existing = ExistingKey(values, change.section, change.key);
    return existing.isEmpty() ? (GroupPath(values, change.section) << change.key).join(u'/') : existing;
}

// True when `values` show every change: a value set reads back as the same
// text, a value removed is gone in every spelling.
bool ShowsChanges(const Values& values, const QMap<QString, Change>& changes)
{
    for (const Change& change : changes) {
        const QString name = ExistingKey(values, change.section, change.key);
        if (!change.value) {
            if (!name.isEmpty()) return false;
            continue;
        }
        if (name.isEmpty()) return false;
        const QVariant v = values.value(name);
        if (v.typeId() != QMetaType::QString || v.toString() != *change.value) return false;
    }
    return true;
}

// A file beside the settings file that is removed when it goes out of scope.
class ScratchFile {
public:
    explicit ScratchFile(const QString& settingsPath) : folder_(FolderOf(settingsPath)) {}
    ~ScratchFile()
    {
        if (!path_.isEmpty()) QFile::remove(path_);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    // Makes the file with `bytes` under a new name, through the safe
    // writer; false when it cannot.
    bool Create(const QByteArray& bytes)
    {
        const QString name = UnusedName();
        if (name.isEmpty() || !files::WriteWholeFile(name, bytes)) return false;
        path_ = name;
        return true;
    }
    // Gives the file a new name.
    bool Rename()
    {
        const QString next = UnusedName();
        if (next.isEmpty() || !QFile::rename(path_, next)) return false;
        path_ = next;
        return true;
    }
    QString Path() const { return path_; }

private:
    // "ZELKOVA.conf.<8 hex>" that no file in the folder has (the writes hold
    // the lock, so none can take it meanwhile); empty when none is found.
    QString UnusedName() const
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            const QString name = folder_ + u'/' + SettingsFileName() + u'.' + files::RandomHexDigits();
            if (!QFileInfo::exists(name) && !QFileInfo(name).isSymLink()) return name;
        }
        return QString();
    }

    QString folder_;
    QString path_;
};

// The file's new bytes: the file as it is now with `changes` applied, as
// QSettings writes it, and the values they hold. Made beside the file, so
// that nothing outside the settings folder is needed. Nothing when the file
// cannot be read, when the bytes cannot be made, or when reading them back
// does not show every change (a disk nearly full makes QSettings leave a
// cut-off file and report success). Lines of the file that QSettings cannot
// read back as they stand do not matter here; QSettings keeps what it can
// of them.
std::optional<std::pair<QByteArray, Values>> MergedFile(const QString& path, const QMap<QString, Change>& changes)
{
    QByteArray current;
    if (QFileInfo::exists(path)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
        current = file.readAll();
        if (file.error() != QFileDevice::NoError) return std::nullopt;
    }
    ScratchFile scratch(path);
    if (!scratch.Create(current)) return std::nullopt;
    {
        // A file name QSettings has never seen: it reads the bytes copied.
        QSettings out(scratch.Path(), QSettings::IniFormat);
        Values stored;
        for (const QString& key : out.allKeys()) stored.insert(key, QVariant());
        for (const Change& change : changes) {
            if (change.value) {
                const QString name = StoredName(stored, change);
                out.setValue(name, *change.value);
                stored.insert(name, QVariant());
                continue;
            }
            for (QString name; !(name = ExistingKey(stored, change.section, change.key)).isEmpty();) {
                out.remove(name);
                stored.remove(name);
            }
        }
        out.sync();
        if (out.status() == QSettings::AccessError) return std::nullopt;
    }
    // Read back under another new name, so that the check parses the bytes
    // on disk, not what QSettings remembers of the file it wrote.
    if (!scratch.Rename()) return std::nullopt;
    QFile file(scratch.Path());
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    file.close();
    QSettings::Status status = QSettings::NoError;
    Values merged = ReadValues(scratch.Path(), &status);
    if (status == QSettings::AccessError || !ShowsChanges(merged, changes)) return std::nullopt;
    return std::make_pair(std::move(bytes), std::move(merged));
}

bool WriteStore(Store& store)
{
    if (store.pending.isEmpty()) return true;
    if (!QDir().mkpath(FolderOf(store.path))) return false;
    // Where the file system has no such locks, the write goes on without.
    const files::FolderLock lock(FolderOf(store.path), kLockWaitMs);
    if (lock.HeldElsewhere()) return false;
    const auto merged = MergedFile(store.path, store.pending);
    if (!merged || !files::WriteWholeFile(store.path, merged->first)) return false;
    // What the file holds now, other runs' values included.
    store.values = merged->second;
    store.pending.clear();
    return true;
}

// Changes reach the file from the event loop too, as soon as the program
// waits for the user, not only at the program's end.
void MarkChanged(Store& store, const QString& name, std::optional<QString> value)
{
    const qsizetype slash = name.lastIndexOf(u'/');
    Change change{slash < 0 ? QString() : name.left(slash).replace(u'/', u'\\'), name.mid(slash + 1), std::move(value)};
    store.pending.insert(name.toLower(), std::move(change));
    if (store.writePosted || !QCoreApplication::instance()) return;
    store.writePosted = true;
    QTimer::singleShot(0, QCoreApplication::instance(), [] {
        if (!StoreSlot()) return;
        StoreSlot()->writePosted = false;
        WriteStore(*StoreSlot());
    });
}

bool SameSegments(const QStringList& segments, const QStringList& group)
{
    for (qsizetype i = 0; i < group.size(); ++i)
        if (segments[i] != group[i]) return false;
    return true;
}

// The stored spelling of the group `name` directly under `parent`, matched
// without regard to case, or an empty text when there is none.
QString ChildGroup(const Values& values, const QStringList& parent, const QString& name)
{
    for (auto it = values.keyBegin(); it != values.keyEnd(); ++it) {
        const QStringList segments = it->split(u'/');
        if (segments.size() > parent.size() + 1 && SameSegments(segments, parent)
            && segments[parent.size()].compare(name, Qt::CaseInsensitive) == 0)
            return segments[parent.size()];
    }
    return QString();
}

// The stored spelling of a section ("Input\Ramen" is the sub-section Ramen of
// Input), each level matched without regard to case; levels not stored yet
// keep the spelling asked for.
QStringList GroupPath(const Values& values, const QString& section)
{
    QStringList resolved;
    bool exists = true;
    for (const QString& part : section.split(u'\\', Qt::SkipEmptyParts)) {
        QString found = exists ? ChildGroup(values, resolved, part) : QString();
        if (found.isEmpty()) {
            exists = false;
            found = part;
        }
        resolved << found;
    }
    return resolved;
}

// The full stored name of a value, or an empty text when it is absent.
QString ExistingKey(const Values& values, const QString& section, const QString& key)
{
    const QStringList group = GroupPath(values, section);
    for (auto it = values.keyBegin(); it != values.keyEnd(); ++it) {
        const QStringList segments = it->split(u'/');
        if (segments.size() == group.size() + 1 && SameSegments(segments, group)
            && segments.last().compare(key, Qt::CaseInsensitive) == 0)
            return *it;
    }
    return QString();
}

}  // namespace

QString GetSetting(const QString& section, const QString& key, const QString& defaultValue)
{
    const Values& values = CurrentStore().values;
    const QString k = ExistingKey(values, section, key);
    if (k.isEmpty()) return defaultValue;
    const QVariant v = values.value(k);
    // A hand-edited file may hold a list ("a, b"); read it back as written.
    if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(QStringLiteral(", "));
    return v.toString();
}

void SaveSetting(const QString& section, const QString& key, const QString& value)
{
    Store& store = CurrentStore();
    QString k = ExistingKey(store.values, section, key);
    if (k.isEmpty()) k = (GroupPath(store.values, section) << key).join(u'/');
    store.values.insert(k, QVariant(value));
    // Written even when the value seems the same: another run may have
    // stored another one meanwhile.
    MarkChanged(store, k, value);
}

bool SaveSettingAtOnce(const QString& section, const QString& key, const QString& value)
{
    Store& store = CurrentStore();
    const Values values = store.values;
    const QMap<QString, Change> pending = store.pending;
    SaveSetting(section, key, value);
    if (WriteStore(store)) return true;
    store.values = values;
    store.pending = pending;
    return false;
}

void DeleteSetting(const QString& section, const QString& key)
{
    Store& store = CurrentStore();
    QString k = ExistingKey(store.values, section, key);
    if (k.isEmpty()) k = (GroupPath(store.values, section) << key).join(u'/');
    store.values.remove(k);
    // Removed from the file too when another run stored it meanwhile.
    MarkChanged(store, k, std::nullopt);
}

bool HasSetting(const QString& section, const QString& key)
{
    return !ExistingKey(CurrentStore().values, section, key).isEmpty();
}

bool GetBool(const QString& section, const QString& key, bool defaultValue)
{
    if (!HasSetting(section, key)) return defaultValue;
    return rt::ReadBool(GetSetting(section, key), defaultValue);
}

void SaveBool(const QString& section, const QString& key, bool value)
{
    SaveSetting(section, key, value ? QStringLiteral("True") : QStringLiteral("False"));
}

double GetNumber(const QString& section, const QString& key, double defaultValue)
{
    const QString text = GetSetting(section, key);
    if (!rt::IsNumeric(text)) return defaultValue;
    return rt::Variant::Text(text).toDouble();
}

int GetInteger(const QString& section, const QString& key, int defaultValue)
{
    const QString text = GetSetting(section, key);
    if (!rt::IsNumeric(text)) return defaultValue;
    const double v = rt::Variant::Text(text).toDouble();
    if (v != std::floor(v) || v < -32768.0 || v > 32767.0) return defaultValue;
    return static_cast<int>(v);
}

bool Sync()
{
    return WriteStore(CurrentStore());
}

QString FilePath() { return CurrentStore().path; }

void Reopen()
{
    if (StoreSlot()) WriteStore(*StoreSlot());
    StoreSlot().reset();
}

}  // namespace reg
