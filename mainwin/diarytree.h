#pragma once
// The diary tree: years at the root, filled with months and days only while
// a year is expanded, so each expansion shows the table as it is then.
// It reads through its own cursor and never moves the editor's.
#include <QDate>
#include <QIcon>
#include <QObject>
#include <QString>

class DiaryTable;
class QTreeWidget;
class QTreeWidgetItem;

namespace datekey {
// A key of a four-digit year, read by position: "2004-5-17", "2004-12-5".
QString yearOf(const QString& key);
QString monthOf(const QString& key);
QString dayOf(const QString& key);
// The date a key names (invalid when the parts are no date).
QDate dateOf(const QString& key);
// A day node's text: its first "-" is the fifth character.
bool isDayKey(const QString& text);
}  // namespace datekey

class DiaryTree {
public:
    static constexpr int kYearImage = 0, kMonthImage = 1, kDayImage = 2;
    static constexpr int kShownWidth = 113;

    explicit DiaryTree(QTreeWidget& view);
    ~DiaryTree();
    DiaryTree(const DiaryTree&) = delete;
    DiaryTree& operator=(const DiaryTree&) = delete;

    // The three node images (year, month, day).
    void setImages(const QIcon& year, const QIcon& month, const QIcon& day);

    // Rebuilds the year nodes from table2, the tree's own cursor, which is
    // pointed at the folder and table given and left on its first record.
    void buildtree(DiaryTable& table2, const QString& folder, const QString& tableName);
    void addmonths(QTreeWidgetItem* yearNode);
    void adddays(const QString& year, const QString& month, QTreeWidgetItem* monthNode);

    // The tree's expand and collapse events (both allow the change).
    void expanding(QTreeWidgetItem* node);
    void collapsing(QTreeWidgetItem* node);
    void expandAll();
    void collapseAll();

    // The selected node's text when it is a day node, else empty.
    QString selectedDayKey() const;
    void removeSelectedNode();

    static bool isYearNode(const QTreeWidgetItem* node);

private:
    QTreeWidgetItem* addNode(QTreeWidgetItem* parent, const QString& text, int image);
    void addPlaceholder(QTreeWidgetItem* yearNode, const QString& text);
    void expandBelow(QTreeWidgetItem* node);
    void collapseBelow(QTreeWidgetItem* node);

    QTreeWidget& view_;
    DiaryTable* table2_ = nullptr;
    QIcon images_[3];
    bool changingByCode_ = false;
    QMetaObject::Connection connections_[2];
};
