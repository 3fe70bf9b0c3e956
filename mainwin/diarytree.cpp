#include "mainwin/diarytree.h"

#include "store/diarytable.h"

#include <QTreeWidget>

namespace datekey {

QString yearOf(const QString& key) { return key.left(4); }

QString monthOf(const QString& key) {
    // Character 6, with character 7 when that is no separator.
    QString m = key.mid(5, 1);
    if (key.size() > 6 && key.at(6) != QLatin1Char('-')) m += key.at(6);
    return m;
}

QString dayOf(const QString& key) {
    // The last character, with the one before when that is no separator.
    if (key.isEmpty()) return {};
    QString d = key.right(1);
    if (key.size() >= 2 && key.at(key.size() - 2) != QLatin1Char('-')) d.prepend(key.at(key.size() - 2));
    return d;
}

QDate dateOf(const QString& key) {
    return QDate(yearOf(key).toInt(), monthOf(key).toInt(), dayOf(key).toInt());
}

bool isDayKey(const QString& text) { return text.indexOf(QLatin1Char('-')) == 4; }

}  // namespace datekey

namespace {
const QString kBuiltPlaceholder = QStringLiteral("MONTH");
const QString kCollapsedPlaceholder = QStringLiteral("Month");
constexpr int kImageRole = Qt::UserRole + 1;
}  // namespace

DiaryTree::DiaryTree(QTreeWidget& view) : view_(view) {
    view_.setHeaderHidden(true);
    view_.setIndentation(19);
    view_.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_.setRootIsDecorated(true);
    view_.setExpandsOnDoubleClick(false);
    connections_[0] = QObject::connect(&view_, &QTreeWidget::itemExpanded, &view_, [this](QTreeWidgetItem* item) {
        if (!changingByCode_) expanding(item);
    });
    connections_[1] = QObject::connect(&view_, &QTreeWidget::itemCollapsed, &view_, [this](QTreeWidgetItem* item) {
        if (!changingByCode_) collapsing(item);
    });
}

DiaryTree::~DiaryTree() {
    // The view may outlive us.
    for (const auto& c : connections_) QObject::disconnect(c);
}

void DiaryTree::setImages(const QIcon& year, const QIcon& month, const QIcon& day) {
    images_[kYearImage] = year;
    images_[kMonthImage] = month;
    images_[kDayImage] = day;
}

bool DiaryTree::isYearNode(const QTreeWidgetItem* node) { return node && !node->parent(); }

QTreeWidgetItem* DiaryTree::addNode(QTreeWidgetItem* parent, const QString& text, int image) {
    auto* node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(&view_);
    node->setText(0, text);
    node->setData(0, kImageRole, image);
    node->setIcon(0, images_[image]);
    return node;
}

void DiaryTree::addPlaceholder(QTreeWidgetItem* yearNode, const QString& text) {
    // Gives a collapsed year its expand button; never seen, since the year
    // holds it only while collapsed.
    auto* p = new QTreeWidgetItem(yearNode);
    p->setText(0, text);
}

void DiaryTree::buildtree(DiaryTable& table2, const QString& folder, const QString& tableName) {
    view_.clear();
    if (table2.active()) table2.close();
    table2.setDatabaseName(folder);
    table2.setTableName(tableName);
    table2.open();
    table2_ = &table2;
    table2.first();
    // One pass over the date column only, held in memory; no diary is read.
    QStringList years;
    for (const QString& key : table2.dates()) {
        const QString year = datekey::yearOf(key);
        if (years.contains(year)) continue;
        years << year;
        addPlaceholder(addNode(nullptr, year, kYearImage), kBuiltPlaceholder);
    }
    table2.first();
}

void DiaryTree::addmonths(QTreeWidgetItem* yearNode) {
    if (!table2_ || !yearNode) return;
    if (!table2_->active()) table2_->open();
    table2_->first();
    const QString year = yearNode->text(0);
    QString previous;
    QStringList months;
    for (const QString& key : table2_->dates()) {
        if (datekey::yearOf(key) != year) continue;
        const QString month = datekey::monthOf(key);
        if (month != previous && !months.contains(month)) {
            months << month;
            adddays(year, month, addNode(yearNode, month + QStringLiteral(" M"), kMonthImage));
        }
        previous = month;
    }
}

void DiaryTree::adddays(const QString& year, const QString& month, QTreeWidgetItem* monthNode) {
    if (!table2_) return;
    for (int day = 1; day <= 31; ++day) {
        const QString key = year + QLatin1Char('-') + month + QLatin1Char('-') + QString::number(day);
        if (table2_->lookup(QStringLiteral("mydate"), key, QStringLiteral("mydate")))
            addNode(monthNode, key, kDayImage);
    }
}

void DiaryTree::expanding(QTreeWidgetItem* node) {
    if (!isYearNode(node)) return;
    // The year is read again on every expansion.
    qDeleteAll(node->takeChildren());
    try {
        addmonths(node);
    } catch (...) {
        // The nodes added so far stay; the expansion stops where it was.
    }
}

void DiaryTree::collapsing(QTreeWidgetItem* node) {
    if (!isYearNode(node)) return;
    qDeleteAll(node->takeChildren());
    addPlaceholder(node, kCollapsedPlaceholder);
}

void DiaryTree::expandBelow(QTreeWidgetItem* node) {
    node->setExpanded(true);
    if (isYearNode(node)) expanding(node);
    for (int i = 0; i < node->childCount(); ++i) expandBelow(node->child(i));
}

void DiaryTree::collapseBelow(QTreeWidgetItem* node) {
    for (int i = 0; i < node->childCount(); ++i) collapseBelow(node->child(i));
    node->setExpanded(false);
    if (isYearNode(node)) collapsing(node);
}

void DiaryTree::expandAll() {
    changingByCode_ = true;
    for (int i = 0; i < view_.topLevelItemCount(); ++i) expandBelow(view_.topLevelItem(i));
    changingByCode_ = false;
}

void DiaryTree::collapseAll() {
    changingByCode_ = true;
    for (int i = 0; i < view_.topLevelItemCount(); ++i) collapseBelow(view_.topLevelItem(i));
    changingByCode_ = false;
}

QString DiaryTree::selectedDayKey() const {
    const QTreeWidgetItem* node = view_.currentItem();
    if (!node || !node->isSelected()) return {};
    const QString text = node->text(0);
    return datekey::isDayKey(text) ? text : QString();
}

void DiaryTree::removeSelectedNode() {
    if (QTreeWidgetItem* node = view_.currentItem()) delete node;
}
