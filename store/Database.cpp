#include "store/Database.h"

#include "store/FoldedSearch.h"
#include "store/FolderAccess.h"
#include "store/LockWait.h"
#include "store/SqlDialect.h"
#include "store/StoreError.h"

#include <QFileInfo>
#include <QUrl>

#include <sqlite3.h>

#include <algorithm>
#include <utility>

namespace
{
int asciiLower(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

// Callsign lookups ignore letter case, Cyrillic included, which SQLite's own NOCASE does not. A lookup
// compares against every row of Contest, so plain ASCII text, nearly every callsign, is compared in place
// (by locale-independent folding, as the general path folds ASCII).
int compareIgnoringCase(void*, int lengthA, const void* a, int lengthB, const void* b)
{
    const auto* bytesA = static_cast<const unsigned char*>(a);
    const auto* bytesB = static_cast<const unsigned char*>(b);
    const int common = std::min(lengthA, lengthB);
    int i = 0;
    for (; i < common && bytesA[i] < 0x80 && bytesB[i] < 0x80; ++i) {
        const int difference = asciiLower(bytesA[i]) - asciiLower(bytesB[i]);
        if (difference != 0) {
            return difference;
        }
    }
    if (i == common && std::all_of(bytesA + i, bytesA + lengthA, [](unsigned char c) { return c < 0x80; })
        && std::all_of(bytesB + i, bytesB + lengthB, [](unsigned char c) { return c < 0x80; })) {
        return lengthA - lengthB;
    }
    const QString textA = QString::fromUtf8(static_cast<const char*>(a), lengthA);
    const QString textB = QString::fromUtf8(static_cast<const char*>(b), lengthB);
    return QString::compare(textA, textB, Qt::CaseInsensitive);
}

QString lower(const QString& name)
{
    return name.toLower();
}

bool writesToSchema(int action)
{
    switch (action) {
    case SQLITE_INSERT:
    case SQLITE_UPDATE:
    case SQLITE_DELETE:
    case SQLITE_CREATE_TABLE:
    case SQLITE_CREATE_INDEX:
    case SQLITE_CREATE_TRIGGER:
    case SQLITE_CREATE_VIEW:
    case SQLITE_DROP_TABLE:
    case SQLITE_DROP_INDEX:
    case SQLITE_DROP_TRIGGER:
    case SQLITE_DROP_VIEW:
    case SQLITE_ALTER_TABLE:
    case SQLITE_REINDEX:
    case SQLITE_ANALYZE:
        return true;
    default:
        return false;
    }
}

QString damagedRefusal(const QString& file)
{
    return QStringLiteral("%1 is damaged: Tourlog only reads it and writes nothing to it.").arg(file);
}

// whether the quick check found the file damaged (one that could not run found nothing)
bool showsDamage(const TableCheckAnswer& check)
{
    const int primary = check.code & 0xff;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB
        || (check.code == SQLITE_ROW && check.answer != QStringLiteral("ok"));
}

// The quick check's first finding, without its "*** in database X ***" heading, and how many follow it.
QString checkFinding(const QString& answer)
{
    QStringList lines = answer.split(u'\n', Qt::SkipEmptyParts);
    lines.removeIf([](const QString& line) { return line.startsWith(QStringLiteral("***")); });
    if (lines.size() <= 1) {
        return lines.value(0, answer);
    }
    return QStringLiteral("%1 (and %2 more)").arg(lines.first()).arg(lines.size() - 1);
}
} // namespace

QString quoteIdentifier(const QString& name)
{
    QString escaped = name;
    escaped.replace(u'"', QStringLiteral("\"\""));
    return u'"' + escaped + u'"';
}

Database::Database(const QString& directory, const char* vfsName)
    : m_dir(directory)
    , m_readOnlyFolder(!folderCanBeWritten(m_dir.absolutePath()) && folderCanBeRead(m_dir.absolutePath()))
{
    connect(&m_backgroundChecks, &BackgroundTableChecks::answered, this, [this](const QString& key) {
        takeBackgroundCheck(key);
        if (m_backgroundChecks.isEmpty()) {
            Q_EMIT tableChecksAnswered();
        }
    });
    // Nothing in a read-only folder can be written, so no transaction needs the main file's super-journal.
    const QString mainPath = m_readOnlyFolder ? QStringLiteral(":memory:")
                                              : m_dir.absoluteFilePath(QString::fromLatin1(kMainFileName));
    // URIs let a table file be attached read-only
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI;
    if (sqlite3_open_v2(mainPath.toUtf8().constData(), &m_db, flags, vfsName) != SQLITE_OK) {
        const QString message = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("out of memory");
        sqlite3_close(m_db);
        m_db = nullptr;
        m_openError = QStringLiteral("Cannot open the contest folder %1: %2").arg(m_dir.absolutePath(), message);
        return;
    }
    sqlite3_extended_result_codes(m_db, 1);
    m_lockWait = std::make_unique<LockWait>(m_db);
    sqlite3_set_authorizer(m_db, &Database::authorize, this);
    sqlite3_create_collation_v2(m_db, "TOURLOG_NOCASE", SQLITE_UTF8, nullptr, compareIgnoringCase, nullptr);
    registerFoldedSearch(m_db);
    try {
        runPragma(QStringLiteral("PRAGMA journal_mode=DELETE"));
        runPragma(QStringLiteral("PRAGMA synchronous=FULL"));
    } catch (const StoreError& error) {
        sqlite3_close(m_db);
        m_db = nullptr;
        m_openError =
            QStringLiteral("Cannot open the contest folder %1: %2").arg(m_dir.absolutePath(), error.message());
    }
}

sqlite3* Database::connection() const
{
    if (!m_db) {
        throw StoreError(m_openError);
    }
    return m_db;
}

Database::~Database()
{
    sqlite3_close_v2(m_db);
}

void Database::restartLockWait()
{
    if (m_lockWait) {
        m_lockWait->restart();
    }
}

QString Database::lockedTablesMessage() const
{
    QStringList paths;
    for (const AttachedFile& attached : m_attached) {
        paths.append(m_dir.absoluteFilePath(attached.fileName));
    }
    paths.sort();
    return lockedFilesMessage(filesLockedByOthers(paths));
}

QString Database::tableFilePath(const QString& table) const
{
    const QString fileName = table + QString::fromLatin1(kTableFileSuffix);
    if (m_dir.exists(fileName)) {
        return m_dir.absoluteFilePath(fileName);
    }
    const QStringList entries = m_dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString& entry : entries) {
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0) {
            return m_dir.absoluteFilePath(entry);
        }
    }
    return m_dir.absoluteFilePath(fileName);
}

bool Database::tableFileExists(const QString& table) const
{
    const QFileInfo info(tableFilePath(table));
    return info.exists() && info.size() > 0;
}

bool Database::isAttached(const QString& table) const
{
    return m_attached.contains(lower(table));
}

QStringList Database::attachedTables() const
{
    QStringList tables;
    for (const AttachedFile& attached : m_attached) {
        tables.append(attached.table);
    }
    return tables;
}

QString Database::folderRefusal() const
{
    if (!m_readOnlyFolder) {
        return {};
    }
    return QStringLiteral("The contest folder %1 is read-only: nothing in it can be changed.")
        .arg(QDir::toNativeSeparators(directory()));
}

QString Database::writeRefusal(const QString& table) const
{
    const QString file = fileNames({table});
    if (m_damage.contains(lower(table))) {
        return damagedRefusal(file);
    }
    if (m_readOnlyFolder) {
        return QStringLiteral("The contest folder %1 is read-only: %2 cannot be changed.")
            .arg(QDir::toNativeSeparators(directory()), file);
    }
    if (m_readOnlyFiles.contains(lower(table))) {
        return QStringLiteral("%1 is read-only: it cannot be changed.").arg(file);
    }
    return {};
}

bool Database::isDamaged(const QString& table) const
{
    return m_damage.contains(lower(table));
}

bool Database::passedCheck(const QString& table) const
{
    const QString key = lower(table);
    return m_checked.contains(key) && !m_damage.contains(key) && !m_checkFailures.contains(key);
}

QString Database::damageFinding(const QString& table) const
{
    return m_damage.value(lower(table));
}

int Database::authorize(void* self, int action, const char* first, const char*, const char* schema, const char*)
{
    auto* db = static_cast<Database*>(self);
    const char* target = action == SQLITE_ALTER_TABLE ? first : schema;
    if (!writesToSchema(action) || !target || !db->isAttached(QString::fromUtf8(target))) {
        return SQLITE_OK;
    }
    // A write waits for the background check of its file. The answer is kept later, outside the authorizer,
    // which must leave the connection alone; a damaged file is refused at once.
    const QString table = QString::fromUtf8(target);
    if (const TableCheckAnswer* check = db->m_backgroundChecks.wait(lower(table)); check && showsDamage(*check)) {
        db->m_refused = damagedRefusal(db->fileNames({table}));
        return SQLITE_DENY;
    }
    const QString refusal = db->writeRefusal(table);
    if (refusal.isEmpty()) {
        return SQLITE_OK;
    }
    db->m_refused = refusal;
    return SQLITE_DENY;
}

Statement Database::makeStatement(const QString& sql, const QString& context)
{
    m_refused.clear();
    try {
        return Statement(connection(), sql, context);
    } catch (const StoreError&) {
        if (m_refused.isEmpty()) {
            throw;
        }
        throw StoreError(std::exchange(m_refused, QString()));
    }
}

bool Database::checkTable(const QString& table)
{
    const QString key = lower(table);
    takeBackgroundCheck(key);
    if (m_checked.contains(key)) {
        if (m_checkFailures.contains(key)) {
            throw StoreError(m_checkFailures.value(key));
        }
        return !m_damage.contains(key);
    }
    attachExisting(table);
    if (!isAttached(table)) {
        return true;
    }
    const QByteArray sql = QStringLiteral("PRAGMA %1.quick_check").arg(quoteIdentifier(table)).toUtf8();
    sqlite3_stmt* statement = nullptr;
    TableCheckAnswer check;
    check.code = sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &statement, nullptr);
    if (check.code == SQLITE_OK) {
        check.code = sqlite3_step(statement);
        if (check.code == SQLITE_ROW) {
            check.answer = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        }
    }
    check.message = QString::fromUtf8(sqlite3_errmsg(m_db));
    sqlite3_finalize(statement);
    return recordCheck(key, check);
}

void Database::startTableChecks()
{
    for (const AttachedFile& file : std::as_const(m_attached)) {
        const QString key = lower(file.table);
        if (!m_checked.contains(key)) {
            m_backgroundChecks.start(key, m_dir.absoluteFilePath(file.fileName));
        }
    }
    if (m_backgroundChecks.isEmpty()) {
        QMetaObject::invokeMethod(this, &Database::tableChecksAnswered, Qt::QueuedConnection);
        return;
    }
    // statements prepared before are authorized again before they next run: a write waits for the answer
    sqlite3_set_authorizer(m_db, &Database::authorize, this);
}

void Database::takeBackgroundCheck(const QString& key)
{
    const std::optional<TableCheckAnswer> check = m_backgroundChecks.take(key);
    if (!check) {
        return;
    }
    try {
        recordCheck(key, *check);
    } catch (const StoreError&) {
        // kept, and raised by checkTable()
    }
}

bool Database::recordCheck(const QString& key, const TableCheckAnswer& check)
{
    const int primary = check.code & 0xff;
    // a check that cannot run is not tried again until the next start, and the file is never taken as sound
    m_checked.insert(key);
    QString answer = check.answer;
    if (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB) {
        answer = check.message;
    } else if (check.code != SQLITE_ROW) {
        const QString failure =
            QStringLiteral("%1 was not checked: %2").arg(fileNames({m_attached.value(key).table}), check.message);
        m_checkFailures.insert(key, failure);
        throw StoreError(failure);
    }
    if (answer == QStringLiteral("ok")) {
        return true;
    }
    m_damage.insert(key, checkFinding(answer));
    // statements prepared before are authorized again before they next run: none writes to the file
    sqlite3_set_authorizer(m_db, &Database::authorize, this);
    return false;
}

void Database::attachExisting(const QString& table)
{
    if (!m_db) {
        // Without the folder nothing can be told about the file: give that reason, rather than call the
        // file missing (it may be there) or foreign (it was never read).
        throw StoreError(
            QStringLiteral("%1 cannot be opened: %2").arg(QFileInfo(tableFilePath(table)).fileName(), m_openError));
    }
    if (isAttached(table)) {
        return;
    }
    if (!tableFileExists(table)) {
        if (m_readOnlyFolder) {
            // the folder is the reason: a table cannot be made in it
            throw StoreError(
                QStringLiteral("%1 cannot be made: the contest folder %2 is read-only.")
                    .arg(QFileInfo(tableFilePath(table)).fileName(), QDir::toNativeSeparators(directory())));
        }
        return;
    }
    // Check the file now, before anything could write to it, so that a damaged file or one of another
    // program is reported by name and left as it is.
    QString problem;
    try {
        attachFile(table, tableFilePath(table));
        Statement check(connection(),
                        QStringLiteral("SELECT count(*) FROM %1.sqlite_master WHERE type='table' "
                                       "AND name=? COLLATE NOCASE")
                            .arg(quoteIdentifier(table)));
        check.bind(1, table);
        if (check.step() && check.column(0).toInt() == 0) {
            problem = QStringLiteral("it holds no table %1").arg(table);
        }
    } catch (const StoreError& error) {
        problem = error.message();
    }
    if (problem.isEmpty()) {
        if (sqlite3_db_readonly(m_db, table.toUtf8().constData()) == 1) {
            m_readOnlyFiles.insert(lower(table));
        } else {
            setJournalMode(table);
        }
        return;
    }
    if (isAttached(table)) {
        Statement detach(m_db, QStringLiteral("DETACH DATABASE %1").arg(quoteIdentifier(table)));
        detach.run();
        m_attached.remove(lower(table));
    }
    // A file whose creation a power cut interrupted may hold the new table with the journal of its creation
    // still beside it: reading it rolled the creation back, to nothing. It is a missing table, made again.
    if (!tableFileExists(table)) {
        return;
    }
    throw StoreError(QStringLiteral("%1 is not a table file of Tourlog: %2")
                         .arg(QFileInfo(tableFilePath(table)).fileName(), problem));
}

void Database::attachForCreation(const QString& table)
{
    if (m_readOnlyFolder) {
        throw StoreError(writeRefusal(table));
    }
    if (!isAttached(table)) {
        attachFile(table, tableFilePath(table));
        setJournalMode(table);
    }
}

void Database::attachFile(const QString& table, const QString& path)
{
    Statement attach(connection(), QStringLiteral("ATTACH DATABASE ? AS %1").arg(quoteIdentifier(table)));
    const QString readOnly = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=ro");
    attach.bind(1, m_readOnlyFolder ? readOnly : path);
    attach.run();
    m_attached.insert(lower(table), {table, QFileInfo(path).fileName()});
}

void Database::setJournalMode(const QString& table)
{
    runPragma(QStringLiteral("PRAGMA %1.journal_mode=DELETE").arg(quoteIdentifier(table)));
    // EXTRA: the folder is synced once the journal is deleted, else a power cut right after a commit of one
    // table file can bring the journal back and roll the acknowledged change back at the next start
    runPragma(QStringLiteral("PRAGMA %1.synchronous=EXTRA").arg(quoteIdentifier(table)));
}

QString Database::fileNames(const QStringList& tables) const
{
    QStringList names;
    for (const QString& table : tables) {
        const auto attached = m_attached.constFind(lower(table));
        names.append(attached != m_attached.cend() ? attached->fileName : QFileInfo(tableFilePath(table)).fileName());
    }
    return names.join(QStringLiteral(", "));
}

void Database::runPragma(const QString& sql)
{
    makeStatement(sql).run();
}

void Database::execute(const QString& dialectSql)
{
    const DialectStatement statement = translateDialect(dialectSql);
    if (statement.kind == DialectStatement::Kind::CreateTable && !tableFileExists(statement.table)) {
        attachForCreation(statement.table);
    } else {
        for (const QString& table : statement.tables) {
            attachExisting(table);
        }
    }
    Statement prepared = makeStatement(statement.sql, fileNames(statement.tables));
    const bool writes = !prepared.isReadOnly();
    prepared.run();
    if (writes && statement.kind == DialectStatement::Kind::Plain) {
        for (const QString& table : statement.tables) {
            // no view shows a table outside the folder's own
            if (const std::optional<FolderTable> folder = folderTable(table)) {
                notifyTableReset(*folder);
            }
        }
    }
}

Statement Database::prepareDialect(const QString& dialectSql)
{
    const DialectStatement statement = translateDialect(dialectSql);
    for (const QString& table : statement.tables) {
        attachExisting(table);
    }
    return makeStatement(statement.sql, fileNames(statement.tables));
}

Statement Database::prepare(const QString& sql)
{
    return makeStatement(sql);
}

Statement Database::prepareOn(const QString& table, const QString& sql)
{
    return makeStatement(sql, fileNames({table}));
}

qint64 Database::lastInsertId() const
{
    return sqlite3_last_insert_rowid(connection());
}

bool Database::inTransaction() const
{
    return m_db && sqlite3_get_autocommit(m_db) == 0;
}

void Database::notifyTableReset(FolderTable table)
{
    Q_EMIT tableReset(table);
}

void Database::notifyAllTablesReset()
{
    const QStringList tables = attachedTables();
    for (const QString& table : tables) {
        if (const std::optional<FolderTable> folder = folderTable(table)) {
            Q_EMIT tableReset(*folder);
        }
    }
}

void Database::notifyRowAboutToChange(FolderTable table, qint64 id, const QObject* origin)
{
    Q_EMIT rowAboutToChange(table, id, origin);
}

void Database::notifyRowChanged(FolderTable table, qint64 id, const QObject* origin)
{
    Q_EMIT rowChanged(table, id, origin);
}
