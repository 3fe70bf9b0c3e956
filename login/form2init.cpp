// Applying the daybook's settings to the main window at login.
#include "editor/richedit.h"
#include "login/form2.h"
#include "mainwin/bardocking.h"
#include "mainwin/form1.h"
#include "mainwin/menupainter.h"
#include "mainwin/ruler.h"
#include "mainwin/statuspanels.h"
#include "settings/colourvalue.h"
#include "settings/settingsfile.h"
#include "store/daybook.h"

#include <QLineEdit>
#include <QToolBar>

namespace {

QPoint dockPos(const TForm1& w, const QToolBar* bar) {
    return bardocking::placementOf(w, *bar).pos;
}

// Puts a bar where its host value says; other values leave it where the
// window's layout put it.
void placeBar(TForm1& w, QToolBar* bar, int host, QPoint pos, bool visible) {
    switch (host) {
    case bardocking::TopDock:
        bardocking::dockAt(w, *bar, bardocking::TopDock, pos);
        break;
    case bardocking::BottomDock:
        bardocking::dockAt(w, *bar, bardocking::BottomDock, pos);
        break;
    case bardocking::Floating:
        bardocking::floatAt(*bar, pos);
        bar->setVisible(visible);
        break;
    default: return;
    }
    w.floatingChanged(bar);
}

}  // namespace

void TForm2::init() {
    TForm1& w = *Form1;
    // 1. The file of the daybook named in the user name box.
    const QString path = daybook::filesFor(w.DataDir, Edit1->text()).ini;
    // 2. A first login makes the file with its defaults.
    if (!settingsFileExists(path)) createSettingsFile(path);
    const IniFile ini(path);
    const BarPositions current{dockPos(w, w.ToolBar1), dockPos(w, w.ToolBar2), dockPos(w, w.ToolBar3),
                               dockPos(w, w.ToolBar4)};
    w.settings = readSettings(ini, current);
    DaybookSettings& s = w.settings;

    // 3. The window comes back where this daybook left it.
    w.FormPlacement1.setIniFile(path, QStringLiteral("formplace"));
    w.FormPlacement1.restore(w);

    // 4.
    w.menus->ypebeep1->setChecked(readTypeBeep(ini));

    // 5. The editor's default font; the fields take what the editor then reports.
    RichEdit* e = w.RichEdit1;
    e->setDefaultFont(s.Editor.Fonn, s.Editor.fsize, colourvalue::toColor(s.Editor.fcolor));
    s.Editor.Fonn = e->defaultFontName();
    s.Editor.fsize = e->defaultFontSize();

    // 6.
    e->setParaRightIndent(s.Editor.indenr);
    e->setParaLeftIndent(s.Editor.indenl);
    e->setParaFirstIndent(s.Editor.indenf);
    e->setParaAlignment(s.Editor.alg == 1 ? RichEdit::Align::Right
                        : s.Editor.alg == 2 ? RichEdit::Align::Center
                                            : RichEdit::Align::Left);

    // 7. The menu painter's roles.
    using Role = MenuPainter::Role;
    const struct {
        qint32* field;
        Role role;
    } menuColours[] = {{&s.Color.checked, Role::Checked},         {&s.Color.maincolor, Role::ItemBack},
                       {&s.Color.Iconbackcolor, Role::IconColumn}, {&s.Color.selectboldercolor, Role::SelectBorder},
                       {&s.Color.selectcolor, Role::Select},       {&s.Color.selectfont, Role::SelectFont},
                       {&s.Color.separatorcolor, Role::Separator}};
    for (const auto& m : menuColours) {
        w.XPMenu1->setColour(m.role, *m.field);
        *m.field = w.XPMenu1->colour(m.role);
    }

    // 8. The bars, docks, editor and status bar.
    TForm1::setPartColour(w.ToolBar1, s.Color.menubarcolor);
    s.Color.menubarcolor = TForm1::partColour(w.ToolBar1);
    w.setDockColour(s.Color.toolbarback);
    s.Color.toolbarback = w.dockColour();
    w.setEditorColour(s.Color.editor);
    s.Color.editor = TForm1::partColour(w.RichEdit1);
    const struct {
        QWidget* part;
        qint32* field;
    } parts[] = {{w.StatusBar1, &s.Color.statubar},
                 {w.ToolBar2, &s.Color.editbar},
                 {w.ToolBar3, &s.Color.navigatorbar},
                 {w.ToolBar4, &s.Color.formatbar}};
    for (const auto& p : parts) {
        TForm1::setPartColour(p.part, *p.field);
        *p.field = TForm1::partColour(p.part);
    }

    // 9. and 11. (General, calendar) are in s for the parts that use them.
    // 10. View.
    w.menus->Editbar1->setChecked(s.View.bar1);
    w.menus->Navigatorbar1->setChecked(s.View.bar2);
    w.menus->Formatbar1->setChecked(s.View.bar3);
    w.menus->Ruler1->setChecked(s.View.ruler);
    w.menus->N15->setChecked(s.View.sta);
    w.ruler->setVisible(s.View.ruler);
    w.Panel1->setVisible(s.View.sta);

    // 12.
    w.ruler->setBackgroundValue(s.Color.rulerb);
    w.ruler->setScaleValue(s.Color.rulerc);

    // 13. The menu bar stays in the top dock.
    bardocking::dockAt(w, *w.ToolBar1, bardocking::TopDock, QPoint(s.state.bar1x, s.state.bar1y));

    // 15.
    w.ToolBar3->setVisible(s.View.bar2);
    w.ToolBar2->setVisible(s.View.bar1);
    w.ToolBar4->setVisible(s.View.bar3);

    // 16.
    placeBar(w, w.ToolBar2, s.state.htoolbar2, QPoint(s.state.bar2x, s.state.bar2y), s.View.bar1);
    placeBar(w, w.ToolBar3, s.state.htoolbar3, QPoint(s.state.bar3x, s.state.bar3y), s.View.bar2);
    placeBar(w, w.ToolBar4, s.state.htoolbar4, QPoint(s.state.bar4x, s.state.bar4y), s.View.bar3);
    w.PlaceMarkers();
}
