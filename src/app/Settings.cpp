#include "app/Settings.h"

#include "app/App.h"
#include "app/Libry.h"
#include "app/MediaTypes.h"
#include "app/SettingsTable.h"
#include "platform/Profile.h"
#include "platform/drives/DriveMap.h"

#include <QDir>

const char *const kSettingsSection = "Lumavista";

Settings::Settings()
{
    for (const SettingKey &key : SettingKeys()) {
        if (key.intValue)
            this->*key.intValue = key.defaultValue;
        else if (key.flagValue)
            this->*key.flagValue = key.defaultValue != 0;
        else if (key.scanFlag > 0)
            ScanFileFlags[static_cast<size_t>(key.scanFlag)] = key.defaultValue != 0;
    }
}

QString defaultStartingFolder(const platform::DriveMap &drives)
{
    const auto drivePath = drives.toDrivePath(QDir::homePath());
    if (!drivePath || drivePath->isEmpty())
        return QStringLiteral("C:\\");
    QString p = *drivePath;
    if (p.size() > 3 && p.endsWith('\\'))
        p.chop(1);
    return p;
}

int profileToInt(const QString &text, int def)
{
    const QString t = text.trimmed();
    bool ok = false;
    if (t.size() > 2 && (t.startsWith("0x") || t.startsWith("0X"))) {
        // Hexadecimal covers the 32 bits: 0xFFFFFFFF is -1.
        const unsigned long long v = t.mid(2).toULongLong(&ok, 16);
        if (!ok || v > UINT32_MAX)
            return def;
        return static_cast<int>(static_cast<uint32_t>(v));
    }
    const int v = t.toInt(&ok, 10);
    return ok ? v : def;
}

int ClampSetting(const Settings &s, const char *name)
{
    const SettingKey *key = FindSettingKey(name);
    if (!key || !key->intValue)
        return key ? key->defaultValue : 0;
    const int value = s.*key->intValue;
    if (key->minimum > key->maximum)
        return value;
    return qBound(key->minimum, value, key->maximum);
}

namespace {

QString readText(const App &app, const char *key, const QString &def)
{
    return platform::GetPrivateProfileString(kSettingsSection, key, def, app.st.SettingsFilePath);
}

void load(App &app, const SettingKey &key)
{
    Settings &s = app.st.settings;
    if (key.kind == SettingKind::Text) {
        const QString def =
            key.textValue == &Settings::Starting_Folder ? defaultStartingFolder(app.drives()) : QString();
        s.*key.textValue = readText(app, key.name, def);
        return;
    }
    const int value = profileToInt(readText(app, key.name, QString()), key.defaultValue);
    if (key.intValue)
        s.*key.intValue = value;
    else if (key.flagValue)
        s.*key.flagValue = value != 0;
    else if (key.scanFlag > 0)
        s.ScanFileFlags[static_cast<size_t>(key.scanFlag)] = value != 0;
}

QString textOf(const Settings &s, const SettingKey &key)
{
    if (key.textValue)
        return s.*key.textValue;
    if (key.intValue)
        return QString::number(s.*key.intValue);
    const bool flag = key.flagValue ? s.*key.flagValue : s.ScanFileFlags[static_cast<size_t>(key.scanFlag)];
    return flag ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

void LoadScanTypeFlags(App &app)
{
    for (const SettingKey &key : SettingKeys())
        if (key.group == SettingGroup::ScanFileFlags)
            load(app, key);
}

void LoadSettings(App &app)
{
    // The scan flags first, then every other key.
    LoadScanTypeFlags(app);
    for (const SettingKey &key : SettingKeys())
        if (key.group != SettingGroup::ScanFileFlags)
            load(app, key);
    Settings &s = app.st.settings;
    s.HasStartScanCFolder = !s.Start_Scan_C_With.isEmpty();
}

bool SaveSettingGroup(App &app, SettingGroup group)
{
    for (const SettingKey &key : SettingKeys()) {
        if (key.group != group)
            continue;
        if (!platform::WritePrivateProfileString(kSettingsSection, key.name, textOf(app.st.settings, key),
                                                 app.st.SettingsFilePath)
                 .ok()) {
            ShowException(app, QStringLiteral("Ne peut écrire dans %1").arg(app.st.SettingsFilePath));
            return false;
        }
    }
    return true;
}

void SetScanTypeFlagByExtension(AppState &st, const QString &extension, bool flag)
{
    const MediaType t = TypeOfExtension(extension.toUpper());
    if (isMediaType(t))
        st.settings.ScanFileFlags[static_cast<size_t>(code(t))] = flag;
}
