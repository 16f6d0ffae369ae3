// The knowledge-point catalogue without its window: the chapters of tab_fgmc with
// their counters as the grid shows them, the search, the key threshold of a
// chapter, and the knowledge points of one chapter with the key-point filter and
// the practice set of one point. Nothing here is written to the bank.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace store {
class Query;
}

namespace knowledge {

// One chapter or group of the catalogue: its id and the five cells of its row.
struct CatalogueRow {
    QString id;
    QStringList cells;  // name, then q, q1, q2, q4 as shown
};

// The five headings; the name's heading is pushed right by blanks (fewer in the
// compact layout).
QStringList CatalogueHeadings(bool compact);
// A counter right-aligned in a field of 9 characters; an empty value is 9 blanks.
QString CounterCell(const QVariant& value);
// Every tab_fgmc row in display order (bh), read on the query.
QVector<CatalogueRow> LoadCatalogue(store::Query& query);

// Ids of 1 or 2 characters (after trimming) are groups of chapters, not chapters.
bool IsGroupId(const QString& id);

// The first name containing the trimmed text (a plain substring, case as typed);
// -1 for none or for an empty text.
int FindRow(const QStringList& names, const QString& text);

// The questions shown for the chapter divided by its number of knowledge points;
// 1 when the quotient is not positive or either value is unusable.
int KeyThreshold(const QString& questionsCell, int pointCount);
// The same with the number of points counted in tab_rule; errors give 1.
int ReadKeyThreshold(store::Query& query, const QString& chapterId, const QString& questionsCell);

// A short name as stored loses its trailing blanks.
QString TrimmedName(const QString& sn);
// A list item: the name, followed by "(q)" when q is greater than 0.
QString PointItemText(const QString& sn, int q);
// The status line under a point's text.
QString PointStatus(int q, int q1, int q2, int q4);
// Every question that lists the knowledge point in one of its slots k3..k12.
QString PointSetSql(const QString& ftid);

// One knowledge point as the list shows it, with the id it stands for.
struct PointItem {
    QString ftid;
    QString name;  // sn without trailing blanks
    QString text;  // name and count, as listed
};

// The knowledge points of one chapter on a query (the data module's
// m_queryDetail): item i of the list is record i + 1 of the query as filtered.
class ChapterPoints {
  public:
    explicit ChapterPoints(store::Query& detail) : detail_(detail) {}

    // Opens the chapter's points by ftid and stands on the first; false when the
    // chapter has none (the list is then empty).
    bool Open(const QString& chapterId);
    const QVector<PointItem>& items() const { return items_; }
    // Moves to item `index`; nothing outside the list.
    void Select(int index);
    int current() const { return current_; }

    // Of the point stood on: its text, status line and whether it can be practised.
    QByteArray text();
    QString status();
    bool canPractise();

    // "重点"/"全部": shows the points with at least `threshold` questions, or all
    // again. False when nothing would remain: the full list stays and the state
    // does not change.
    bool ToggleKeyPoints(int threshold);
    bool keyShown() const { return keyShown_; }

  private:
    void refill();

    store::Query& detail_;
    QVector<PointItem> items_;
    int current_ = -1;
    bool keyShown_ = false;
};

}  // namespace knowledge
