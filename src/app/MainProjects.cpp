// The project menus: the HTML files the user updates together with the diary,
// listed in default.str, shown in the popup of the "Project" button (also
// Ctrl+P) and in the File menu's submenu. Choosing a path opens it as the
// document; the registration items open the behaviour settings on their page.

#include "app/MainUnit.h"

#include "document/ListFile.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

using namespace Qt::StringLiterals;

void TMainForm::ConnectProjectCommands() {
    // The popup ends in a separator and its registration item, as the File
    // menu's submenu does; the paths go in front of them.
    ProjectsEdit = new QAction(u"（同時更新HTMLの登録...）"_s, this);
    ProjectsEdit->setObjectName(u"ProjectsEdit"_s);
    PopupProjects->addSeparator();
    PopupProjects->addAction(ProjectsEdit);

    for (QAction* item : {ProjectsEdit, FileProjectEdit})
        connect(item, &QAction::triggered, this, [this, item] { ProjectsEditClick(item); });
    connect(BtnProject, &QToolButton::clicked, this, &TMainForm::BtnProjectClick);
    connect(ProjectAction, &QAction::triggered, this, &TMainForm::ProjectActionExecute);
    connect(FileProjects, &QMenu::aboutToShow, this, &TMainForm::LoadProjectMenu);
}

void TMainForm::LoadProjectMenu() {
    if (projectMenuLoaded_)
        return;
    projectMenuLoaded_ = true;
    const QStringList paths = listfile::readProjectMenuPaths(programFolder_ + u"default.str"_s);
    for (QMenu* menu : {PopupProjects, FileProjects}) {
        const QList<QAction*> fixed = menu->actions();
        QAction* separator = fixed.at(fixed.size() - 2);
        for (const QString& path : paths) {
            // The caption shows a "&" as itself; the item keeps the path as
            // it is, so the file opened is the one listed.
            auto* item = new QAction(QString(path).replace(u'&', u"&&"_s), menu);
            item->setData(path);
            menu->insertAction(separator, item);
            connect(item, &QAction::triggered, this, [this, item] { ProjectsEditClick(item); });
        }
    }
}

void TMainForm::ClearProjectMenu() {
    for (QMenu* menu : {PopupProjects, FileProjects}) {
        const QList<QAction*> items = menu->actions();
        for (qsizetype i = 0; i + 2 < items.size(); ++i) {
            menu->removeAction(items[i]);
            items[i]->deleteLater();
        }
    }
    projectMenuLoaded_ = false;
}

void TMainForm::BtnProjectClick() {
    LoadProjectMenu();
    PopupProjects->popup(frameGeometry().topLeft() + QPoint(99, 120));
}

void TMainForm::ProjectActionExecute() {
    if (TodayTabShown())
        return;
    LoadProjectMenu();
    PopupProjects->popup(frameGeometry().topLeft() + QPoint(9, appSet.toolbarHidden() ? 84 : 140));
}

void TMainForm::ProjectsEditClick(const QAction* item) {
    if (item == ProjectsEdit || item == FileProjectEdit) {
        appSet.setSettingsDialogPage('P');
        SetAppActionExecute();
        return;
    }
    OpenProjectFile(item->data().toString());
}
