// The widget boundary: texts of the program are ISO-8859-1 bytes, file paths are in the local
// 8-bit encoding of file names, Qt holds both as QString.
#pragma once

#include <QFile>
#include <QString>
#include <string>

inline QString ToQt(const std::string& latin1) {
  return QString::fromLatin1(latin1.data(), static_cast<qsizetype>(latin1.size()));
}

inline std::string FromQt(const QString& text) {
  const QByteArray bytes = text.toLatin1();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

inline QString PathToQt(const std::string& path) {
  return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

inline std::string PathFromQt(const QString& path) {
  const QByteArray bytes = QFile::encodeName(path);
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

// A path written into a text of the program (a journal line): its characters in ISO-8859-1.
inline std::string PathAsText(const std::string& path) {
  return FromQt(PathToQt(path));
}
