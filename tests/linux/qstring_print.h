#pragma once

// Qt's strings in GoogleTest's messages as text, not bytes.

#include <QString>

#include <ostream>

inline std::ostream& operator<<(std::ostream& out, const QString& text) { return out << text.toStdString(); }
