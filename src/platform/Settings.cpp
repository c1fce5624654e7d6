#include "platform/Settings.h"

#include "platform/Runtime.h"

#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

#include <cmath>
#include <memory>

namespace reg {

namespace {

// One settings object for the life of the program: QSettings keeps the file
// in memory, so repeated reads cost no disk access. The file is the user's
// "ZELKOVA/ZELKOVA.conf" under the configuration folder ($XDG_CONFIG_HOME);
// it is named explicitly because Qt 6 would name a user-scope INI file ".ini".
std::unique_ptr<QSettings>& StoreSlot()
{
    static std::unique_ptr<QSettings> settings;
    return settings;
}

QSettings& Store()
{
    std::unique_ptr<QSettings>& settings = StoreSlot();
    if (!settings) {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        settings = std::make_unique<QSettings>(folder + QStringLiteral("/ZELKOVA/ZELKOVA.conf"), QSettings::IniFormat);
    }
    return *settings;
}

QString FindNoCase(const QStringList& names, const QString& name)
{
    for (const QString& n : names)
        if (n.compare(name, Qt::CaseInsensitive) == 0) return n;
    return QString();
}

// The stored spelling of a section ("Input\Ramen" is the sub-section Ramen of
// Input), each level matched without regard to case; levels not stored yet
// keep the spelling asked for.
QString GroupPath(QSettings& s, const QString& section)
{
    const QStringList parts = section.split(u'\\', Qt::SkipEmptyParts);
    QStringList resolved;
    bool exists = true;
    for (const QString& part : parts) {
        QString found = exists ? FindNoCase(s.childGroups(), part) : QString();
        if (found.isEmpty()) {
            exists = false;
            found = part;
        }
        resolved << found;
        s.beginGroup(found);
    }
    for (int i = 0; i < parts.size(); ++i) s.endGroup();
    return resolved.join(u'/');
}

// The full stored key of a value, or an empty text when it is absent.
QString ExistingKey(QSettings& s, const QString& section, const QString& key)
{
    const QString group = GroupPath(s, section);
    s.beginGroup(group);
    const QString found = FindNoCase(s.childKeys(), key);
    s.endGroup();
    if (found.isEmpty()) return QString();
    return group.isEmpty() ? found : group + u'/' + found;
}

}  // namespace

QString GetSetting(const QString& section, const QString& key, const QString& defaultValue)
{
    QSettings& s = Store();
    const QString k = ExistingKey(s, section, key);
    if (k.isEmpty()) return defaultValue;
    const QVariant v = s.value(k);
    // A hand-edited file may hold a list ("a, b"); read it back as written.
    if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(QStringLiteral(", "));
    return v.toString();
}

void SaveSetting(const QString& section, const QString& key, const QString& value)
{
    QSettings& s = Store();
    QString k = ExistingKey(s, section, key);
    if (k.isEmpty()) {
        const QString group = GroupPath(s, section);
        k = group.isEmpty() ? key : group + u'/' + key;
    }
    s.setValue(k, value);
}

void DeleteSetting(const QString& section, const QString& key)
{
    QSettings& s = Store();
    const QString k = ExistingKey(s, section, key);
    if (!k.isEmpty()) s.remove(k);
}

bool HasSetting(const QString& section, const QString& key)
{
    QSettings& s = Store();
    return !ExistingKey(s, section, key).isEmpty();
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

void Sync()
{
    Store().sync();
}

void Reopen()
{
    if (StoreSlot()) StoreSlot()->sync();
    StoreSlot().reset();
}

}  // namespace reg
