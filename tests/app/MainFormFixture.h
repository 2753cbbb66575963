#pragma once
// A main window on fake platform services, with a real settings store on a
// temporary file and a temporary program folder.

#include "app/MainUnit.h"
#include "document/DiaryEditor.h"
#include "platform/SjisCodec.h"
#include "support/FakePlatform.h"
#include "support/TypeText.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTabWidget>
#include <QTest>
#include <QTextDocument>
#include <gtest/gtest.h>
#include <memory>

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override { fake.clock.setNow(QDateTime(QDate(2026, 12, 8), QTime(9, 5, 3))); }
    void TearDown() override { form.reset(); }

    // Creates and shows the main window (the show sequence runs, to its last
    // steps once the window is on screen).
    TMainForm& start() {
        form.reset(); // one window at a time, as one run of the program has
        form = std::make_unique<TMainForm>(fake.platform());
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        EXPECT_TRUE(QTest::qWaitFor([this] { return form->startupRestored(); }));
        return *form;
    }
    // Closes the window through its close sequence; true when it closed.
    bool closeForm() { return form->close(); }

    void showDocumentTab() { form->PageControlMain->setCurrentWidget(form->TabSheetAll); }
    void showTodayTab() { form->PageControlMain->setCurrentWidget(form->TabSheetToday); }

    // Writes bytes to a file in the program folder (or to path when absolute).
    QString writeFile(const QString& name, const QByteArray& bytes) {
        const QString path = name.startsWith(u'/') ? name : fake.programFile(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        file.write(bytes);
        return path;
    }
    static QByteArray readBytes(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static QByteArray sjisBytes(const QString& text) { return sjis::encode(text, sjis::LineBreaks::CrLf); }

    // Opens path as the document through the window's own command.
    void openDocument(const QString& path) {
        showDocumentTab();
        fake.fileDialogs.chooseNext(path);
        form->OpenAction->trigger();
    }
    void typeInto(QWidget* widget, const QString& text) { QTest::keyClicks(widget, text); }

    FakePlatform fake;
    std::unique_ptr<TMainForm> form;
};
