// The question bank's tables: creating an empty bank, and checking (and quietly
// completing) a bank on opening.
#pragma once

#include <QString>

namespace store {

class Database;

// Creates every table of a bank, the default settings row, the question-type
// tables and the indexes in a new file. Refuses a file that already exists.
void createEmptyBank(const QString& path);

// Creates the tables of a bank on an open, empty connection.
void createBankTables(Database& db);

// Throws EngineError unless the file holds every table and column of a bank,
// checked without writing to it.
void verifyBankFile(const QString& path);

// Throws EngineError unless the open file holds every table and column of a bank
// (nothing is written to a file that is refused); then, unless the bank is read-only,
// switches it to the write-ahead log and creates what is missing and harmless to
// add: indexes, the settings row.
void prepareBank(Database& db);

// The work-table statement of a mock-exam paper, exactly as the program sends it.
QString examTableSql(const QString& name);

// Lets the text columns of a new exam work table hold empty strings.
void FixZeroLengthColumns(const QString& tableName, Database& connection);

}  // namespace store
