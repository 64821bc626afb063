#include "qarpopupmenu.h"

QARPopupMenu::QARPopupMenu(QWidget* parent) : QMenu(parent) {}

QARPopupMenu::~QARPopupMenu() = default;
