#pragma once
// The shared data module: the two connections, the scratch queries, the exchange
// queries and the descriptions of the shared file dialogs, in the order they are
// created. One instance lives from start-up to shutdown.
#include "data/Connection.h"
#include "data/Query.h"

#include <QObject>

// What a shared file dialog offers; the window layer shows it.
struct FileDialogSpec {
    QString filter;       // "description|pattern" pairs, e.g. "数据库文件|*.mdb"
    bool picture = false; // shows a picture preview
    bool several = false; // several files may be chosen: the paths come one a line
};

class Tdmbasic : public QObject
{
    Q_OBJECT
public:
    explicit Tdmbasic(QObject* parent = nullptr);
    ~Tdmbasic() override; // disconnects the main database, then the exchange database

    Connection adoCntnfybase{DbKind::Main};    // the main database (fybase)
    Query QryPUB{&adoCntnfybase};              // shared scratch query on the main database
    Connection adoCntnfyExp{DbKind::Exchange}; // the exchange database (fyExp)
    Query qryTemp1{&adoCntnfyExp};             // scratch query on the exchange database
    Query qryFWXX{&adoCntnfyExp};              // 房屋信息Exp, the exchanged listings
    FileDialogSpec OpenDBPath;                 // file dialog for database files (*.mdb)
    Connection adoCntn{DbKind::Exchange};      // an exchange file being imported
    Query qryKHXX{&adoCntnfyExp};              // 客户信息Exp, the exchanged customers
    FileDialogSpec OpenPic;                    // file dialog for pictures, with a preview

    static QString mainConnectionString(const QString& path);
    static QString exchangeConnectionString(const QString& path);
};

// The one instance; null before start-up and after shutdown.
extern Tdmbasic* dmbasic;
