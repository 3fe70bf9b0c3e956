#pragma once
// The faces the font box offers.
#include <QStringList>

// Font families as the system lists them, made into the font box's choices:
// a family installed from several foundries ("Name [Foundry]") is offered once
// by its name alone, and the list is sorted without regard to case.
QStringList fontFamilyChoices(QStringList families);
