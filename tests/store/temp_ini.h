#pragma once

#include <QByteArray>
#include <QFile>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <memory>

namespace zelmora::testing {

// A settings file of its own in a fresh temporary folder, gone with it.
class TTempIni {
 public:
  // `name` may contain folders below the temporary one.
  explicit TTempIni(const QString& name = QStringLiteral("Zelmora.ini"))
      : path_(dir_.filePath(name)) {}

  bool IsValid() const { return dir_.isValid(); }
  QString Folder() const { return dir_.path(); }
  const QString& Path() const { return path_; }

  std::unique_ptr<QSettings> Open() const {
    return std::make_unique<QSettings>(path_, QSettings::IniFormat);
  }

  bool WriteBytes(const QByteArray& bytes) const {
    QFile file(path_);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
  }

  QByteArray Bytes() const {
    QFile file(path_);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  // Stores a value the way any other writer of the file would.
  void Put(const QString& key, const QVariant& value) const {
    QSettings settings(path_, QSettings::IniFormat);
    settings.setValue(key, value);
  }

  // A value as any other reader of the file sees it ("Section/Key").
  QVariant Stored(const QString& key) const {
    return QSettings(path_, QSettings::IniFormat).value(key);
  }

  QStringList StoredKeys() const { return QSettings(path_, QSettings::IniFormat).allKeys(); }

 private:
  QTemporaryDir dir_;
  QString path_;
};

}  // namespace zelmora::testing
