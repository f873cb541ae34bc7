#pragma once
// The keyed SQLCipher file: the default main database and every exchange file.
#include "data/engine/Engine.h"

struct sqlite3;

namespace engine
{

class SqlCipherEngine : public Engine
{
public:
    ~SqlCipherEngine() override;
    Flavor flavor() const override { return Flavor::SqlCipher; }

    void open(const QString& location, const QString& password, DbKind kind, bool raw) override;
    void close() override;
    bool isOpen() const override { return m_db != nullptr; }

    std::unique_ptr<Cursor> prepare(const QString& sql) override;
    QVariant rowIdParam(long long id) const override { return qlonglong(id); }
    void run(const QString& sql) override;
    long long runOne(const QString& sql) override;

    void begin(TxMode mode) override;
    void commit() override;
    void rollback() noexcept override;
    bool inTransaction() const override;
    void lockWriters(const QString&) override {}

    QList<TableInfo> readTables() override;
    bool isSound() override;
    void checkUsable(DbKind kind) override;
    QString plan(const QString& sql) override;
    void beginBulk() override;
    void endBulk() noexcept override;

    // Copies every page into the new file `target`, keyed with `key`, in one read
    // of the source (another connection's commit cannot mix two states into it).
    // The target must exist and be empty. Returns false with the reason in `why`.
    bool copyPagesTo(const QString& target, const QString& key, QString* why);

private:
    void checkOurs(DbKind kind);

    sqlite3* m_db = nullptr;
    QString m_path;
    long long m_oldCache = -2000;
};

} // namespace engine
