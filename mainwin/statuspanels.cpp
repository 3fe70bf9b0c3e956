#include "mainwin/statuspanels.h"

StatusPanels::StatusPanels(QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(true);
    setFixedHeight(21);
    struct PanelLayout {
        int width;
        Qt::Alignment align;
        const char* name;
    };
    const PanelLayout panels[4] = {{80, Qt::AlignCenter, "Caret position"},
                           {150, Qt::AlignCenter, "User"},
                           {200, Qt::AlignLeft | Qt::AlignVCenter, "Date and time"},
                           {0, Qt::AlignLeft | Qt::AlignVCenter, "Status line"}};
    for (int i = 0; i < 4; ++i) {
        auto* l = new QLabel(this);
        l->setAlignment(panels[i].align);
        l->setAccessibleName(QLatin1String(panels[i].name));
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        if (panels[i].width) l->setFixedWidth(panels[i].width);
        // The first panel has a bevel of its own; the others sit flat.
        if (i == 0) l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        addWidget(l, panels[i].width ? 0 : 1);
        panels_[size_t(i)] = l;
    }
}

void StatusPanels::setPanelText(int panel, const QString& text) { panels_[size_t(panel)]->setText(text); }

QString StatusPanels::panelText(int panel) const { return panels_[size_t(panel)]->text(); }
