// A question bank as its text source describes it: what `build` writes into a
// bank file and what `dump` reads back out of one. Texts are in the source's
// markup (see Markup.h); keys are stored answer strings.
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

namespace qbank {

struct SourcePos {
    QString file;
    int line = 0;
    QString where() const { return file + u':' + QString::number(line); }
};

struct TypeRow {
    int id = 0;
    QString name;
    int count = 0;      // B2
    double score = 0;   // B3
    double time = 1.0;  // minutes
};

struct Kind {
    int number = 0;
    QVector<TypeRow> types;
};

// A tab_fgmc row: a group (2 characters) or an entry (6 characters).
struct CatalogueNode {
    QString id;
    QString name;
    SourcePos pos;
};

struct Point {
    QString id;
    QString shortName;
    QString text;
    SourcePos pos;
};

struct Chapter {
    QString code;
    QString name;
    QString heading;  // empty: the default heading
    QString guide;
    bool chart = true;
    SourcePos pos;
};

struct Group {
    QString id;  // 16 characters once the bank is made
    int type = 0;
    QString chapter;
    QString stem;
    SourcePos pos;
};

struct Question {
    QString id;
    int type = 0;
    QString chapter;
    int group = -1;  // index into groups
    QString stem;
    QString key;  // as stored
    int optionCount = 0;
    QStringList points;
    QString explain;  // empty: none
    SourcePos pos;
};

struct Bank {
    QVector<Kind> kinds;
    QMap<QString, int> settings;  // tab_plan columns
    QString cpbs;
    QString sjbs;
    QVector<CatalogueNode> catalogue;
    QVector<Point> points;
    QVector<Chapter> chapters;
    QVector<Group> groups;
    QVector<Question> questions;
};

// The heading a chapter gets when its source names none.
QString DefaultHeading(const Bank& bank, const Chapter& chapter);

}  // namespace qbank
