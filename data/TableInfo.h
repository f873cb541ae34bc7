#pragma once
// What the data layer knows about a database's tables: which of our two
// databases it is, and each table's columns with their kinds and widths.
#include <QList>
#include <QString>

// Which of our two databases a connection expects.
enum class DbKind { Main, Exchange };

struct ColumnInfo {
    QString name;
    // Binary: bytes (pictures), BLOB on a file and bytea on a server.
    enum Type { Text, Float, Memo, Integer, Binary, Other } type = Text;
    int maxLength = 0; // characters; 0 = no limit
};

struct TableInfo {
    QString name;
    QList<ColumnInfo> columns;
    int indexOf(const QString& column) const;
};
