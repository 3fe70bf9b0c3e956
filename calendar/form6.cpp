#include "calendar/form6.h"

#include "mainwin/form1.h"
#include "mainwin/menupainter.h"
#include "mainwin/statuspanels.h"
#include "platform/localeformat.h"
#include "settings/colourvalue.h"
#include "settings/daybooksettings.h"
#include "store/daybook.h"
#include "store/diarytable.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QTextCharFormat>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidgetAction>

TForm6* Form6 = nullptr;
int TForm6::flashCount = 0;

TForm6::TForm6(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("Form6"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QLatin1String(kDesignedCaption));
    setAccessibleName(tr("Calendar"));
    setFixedSize(274, 201);
    move(327, 222);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, colourvalue::toColor(colourvalue::moneyGreen));
    setPalette(pal);

    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(2, 2, 2, 2);
    box->setSpacing(1);
    MonthCalendar1 = new QCalendarWidget(this);
    MonthCalendar1->setObjectName(QStringLiteral("MonthCalendar1"));
    MonthCalendar1->setToolTip(QStringLiteral("Double click or right click"));
    MonthCalendar1->setAccessibleName(tr("Month calendar"));
    MonthCalendar1->setMinimumDate(QDate(1900, 1, 1));
    MonthCalendar1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    MonthCalendar1->setContextMenuPolicy(Qt::CustomContextMenu);
    box->addWidget(MonthCalendar1, 1);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    box->addWidget(line);
    auto* hint1 = new QLabel(QStringLiteral("Right click Calendar to know in which day you have diary"), this);
    hint1->setStyleSheet(QStringLiteral("color: maroon"));
    auto* hint2 = new QLabel(QStringLiteral("Double click days to add or modify the diary on that day"), this);
    hint2->setStyleSheet(QStringLiteral("color: navy"));
    Label1 = new QLabel(QStringLiteral("Help"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setStyleSheet(QStringLiteral("color: red"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setCursor(Qt::PointingHandCursor);
    for (QLabel* l : {hint1, hint2, Label1}) {
        QFont f = l->font();
        f.setPointSize(7);
        l->setFont(f);
        box->addWidget(l);
    }

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->setAccessibleName(tr("Days with diaries"));
    XPMenu1 = new MenuPainter(this);
    // Until the colour center sets them, the mark and the highlighted text keep the desktop's colours.
    XPMenu1->setColour(MenuPainter::Role::Checked, colourvalue::systemColour(colourvalue::Highlight));
    XPMenu1->setColour(MenuPainter::Role::SelectFont, colourvalue::systemColour(colourvalue::MenuText));
    XPMenu1->attach(PopupMenu1);

    Timer1 = new QTimer(this);
    Timer1->setInterval(30);
    connect(Timer1, &QTimer::timeout, this, &TForm6::Timer1Timer);
    // A double click or Enter on a day is the pick.
    connect(MonthCalendar1, &QCalendarWidget::activated, this, [this] { MonthCalendar1DblClick(); });
    connect(MonthCalendar1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { showDayMenu(MonthCalendar1->mapToGlobal(p)); });
    Form6 = this;
}

TForm6::~TForm6() {
    if (Form6 == this) Form6 = nullptr;
}

void TForm6::closeEvent(QCloseEvent* event) {
    // Closed by its own means or by the drop-down: either way it is forgotten.
    if (Form6 == this) Form6 = nullptr;
    event->accept();
}

void TForm6::inicalen(const DaybookSettings& s) {
    using colourvalue::toColor;
    QPalette pal = MonthCalendar1->palette();
    pal.setColor(QPalette::Base, toColor(s.Color.mothbc));
    pal.setColor(QPalette::Text, toColor(s.Color.textc));
    pal.setColor(QPalette::AlternateBase, toColor(s.Color.titlebc));
    pal.setColor(QPalette::Window, toColor(colourvalue::systemColour(colourvalue::InactiveCaptionText)));
    MonthCalendar1->setPalette(pal);
    QTextCharFormat header;
    header.setBackground(toColor(s.Color.titlebc));
    header.setForeground(toColor(s.Color.titletc));
    MonthCalendar1->setHeaderTextFormat(header);
    QTextCharFormat weekday;
    weekday.setForeground(toColor(s.Color.textc));
    for (int d = Qt::Monday; d <= Qt::Sunday; ++d) MonthCalendar1->setWeekdayTextFormat(Qt::DayOfWeek(d), weekday);
    // Today: circled (shown bold and framed here) when asked for.
    MonthCalendar1->setDateTextFormat(QDate(), QTextCharFormat());
    if (s.General.todaymark) {
        QTextCharFormat today;
        today.setFontWeight(QFont::Bold);
        today.setFontUnderline(true);
        MonthCalendar1->setDateTextFormat(QDate::currentDate(), today);
    }
    using Role = MenuPainter::Role;
    XPMenu1->setColour(Role::ItemBack, s.Color.maincolor);
    XPMenu1->setColour(Role::IconColumn, s.Color.Iconbackcolor);
    XPMenu1->setColour(Role::SelectBorder, s.Color.selectboldercolor);
    XPMenu1->setColour(Role::Select, s.Color.selectcolor);
    XPMenu1->setColour(Role::Separator, s.Color.separatorcolor);
    if (!columns_.isEmpty()) rebuildDayMenu();
    MonthCalendar1->setGridVisible(false);
    MonthCalendar1->setToolTip(s.General.showtoday
                                   ? QStringLiteral("Double click or right click") + QLatin1Char('\n') +
                                         tr("Today: %1").arg(localefmt::shortDate(QDate::currentDate()))
                                   : QStringLiteral("Double click or right click"));
}

QList<int> TForm6::PopupMenu1Popup() {
    QList<int> days;
    if (!Form1 || !Form1->Table1) return days;
    DiaryTable& t = *Form1->Table1;
    if (!t.active()) t.open();
    const QDate shown(MonthCalendar1->yearShown(), MonthCalendar1->monthShown(), 1);
    const QDate selected = MonthCalendar1->selectedDate();
    // The selected date's month; the shown page when the selection is elsewhere.
    const QDate month = (selected.year() == shown.year() && selected.month() == shown.month()) ? selected : shown;
    for (int day = 1; day <= 31; ++day) {
        const QString key = QStringLiteral("%1-%2-%3").arg(month.year()).arg(month.month()).arg(day);
        if (t.lookup(QStringLiteral("mydate"), key, QStringLiteral("mydate"))) days << day;
    }
    // The table stays open: closing it would lose the shown diary's record.
    columns_ = layout_.columns(days);
    rebuildDayMenu();
    return days;
}

void TForm6::rebuildDayMenu() {
    PopupMenu1->clear();
    if (columns_.isEmpty()) return;
    auto* action = new QWidgetAction(PopupMenu1);
    auto* grid = new QWidget;
    // The days are buttons on the menu, drawn in the painter's colours.
    using Role = MenuPainter::Role;
    grid->setStyleSheet(QStringLiteral("QToolButton { background: %1; color: %2; border: 1px solid %1; }"
                                       "QToolButton:hover { background: %3; color: %4; border: 1px solid %5; }")
                            .arg(XPMenu1->drawnColour(Role::ItemBack).name(),
                                 grid->palette().color(QPalette::WindowText).name(),
                                 XPMenu1->drawnColour(Role::Select).name(), XPMenu1->drawnColour(Role::SelectFont).name(),
                                 XPMenu1->drawnColour(Role::SelectBorder).name()));
    auto* g = new QGridLayout(grid);
    g->setContentsMargins(2, 2, 2, 2);
    g->setSpacing(0);
    for (int c = 0; c < columns_.size(); ++c) {
        for (int r = 0; r < columns_[c].size(); ++r) {
            const int day = columns_[c][r];
            auto* b = new QToolButton(grid);
            b->setText(QString::number(day));
            b->setObjectName(QString::number(day));
            b->setAccessibleName(tr("Day %1").arg(day));
            b->setAutoRaise(true);
            b->setMinimumWidth(32);
            connect(b, &QToolButton::clicked, this, [this, day] {
                PopupMenu1->close();
                MonthCalendar1DblClick(day);
            });
            g->addWidget(b, r, c);
        }
    }
    action->setDefaultWidget(grid);
    PopupMenu1->addAction(action);
}

void TForm6::showDayMenu(const QPoint& globalPos) {
    if (!Form1) return;
    Form1->guarded([&] { PopupMenu1Popup(); });
    if (!columns_.isEmpty()) PopupMenu1->popup(globalPos);
}

void TForm6::MonthCalendar1DblClick(int dayItem) {
    if (!Form1 || !Form1->Table1) return;
    Form1->guarded([&] {
        const QDate selected = MonthCalendar1->selectedDate();
        const QDate date = dayItem ? QDate(selected.year(), selected.month(), dayItem) : selected;
        const QString key = daybook::crealdate(date);
        if (Form1->Table1->active() && Form1->Table1->lookup(QStringLiteral("mydate"), key, QStringLiteral("mydate")))
            setWindowTitle(QStringLiteral("Load...") + key);
        // Saves the shown diary, then shows the stored one or prepares a new one.
        Form1->addchange(key);
        if (!Form1->entries.newEntry) {
            Form1->refreshStatusLine();
            Form1->fontBoxesFromCaret();
            setWindowTitle(QLatin1String(kDesignedCaption));
        } else {
            Form1->StatusBar1->setPanelText(3, QStringLiteral("  Add  ") + localefmt::shortDate(date));
        }
    });
}

void TForm6::startFlashing() {
    raise();
    activateWindow();
    Timer1->start();
}

void TForm6::Timer1Timer() {
    if (flashCount > 20) {
        Timer1->stop();
        flashCount = 0;
        return;
    }
    QApplication::alert(this, 30);
    ++flashCount;
}
