// Czech file names in the windows: a book saved and opened again through
// Qt's own file dialogs (on the offscreen platform), and the lists of
// song-book types and export filters.
#include <cstring>
#include <filesystem>
#include <iterator>
#include <memory>

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include "app/book/kxtypesfrm.h"
#include "app/book/melodarfrm.h"
#include "app/exchange/expflistfrm.h"
#include "app/main/mainfrm.h"
#include "app/qtfiledialogs.h"
#include "app/windows.h"
#include "appenv.h"
#include "foundation/btksyspath.h"
#include "foundation/qt/btkqstring.h"
#include "songbook/melodar.h"
#include "songs/uibridge.h"

namespace {

class NamesTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        folder.write("options.xml", "<options db=\"0\" />");
        folder.write("db/alfa.xml", SongDatabaseXml({"Anna", "Bude"}));
        folder.write("melodary/Můj typ.kxt", "<kxtype savediff=\"0\" basetype=\"\"><page hcnt=\"2\"/></kxtype>");
        folder.write("data/expf/Čistý text.exp", "<text />");
        InstallQtFileDialogs();
        start();
        idle();
    }
    void TearDown() override {
        end();
        gFileDialogs = nullptr;
    }
    void trigger(btkActionList& actions, const char* name) {
        QAction* action = actions.find(name);
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
        idle();
    }
    bool onDisk(const char* relative) { return std::filesystem::exists(btkSysPath(folder.path(relative))); }
};

// The names the open file dialog lists in its folder.
QStringList listedNames(QFileDialog* dialog) {
    QStringList names;
    auto* model = dialog->findChild<QFileSystemModel*>();
    if (!model) return names;
    const QModelIndex root = model->index(dialog->directory().absolutePath());
    for (int i = 0; i < model->rowCount(root); ++i) names << model->fileName(model->index(i, 0, root));
    return names;
}

// Answers the next file dialog from inside its event loop, as a user types
// the name: an open dialog once its folder lists the name (cancelled when it
// never does), a save dialog at once. What the open dialog listed is left in
// listed.
void answerFileDialog(const QString& name, QStringList* listed) {
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    auto answered = std::make_shared<bool>(false);
    QObject::connect(timer, &QTimer::timeout, [=] {
        QFileDialog* dialog = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QFileDialog*>(w); d && d->isVisible()) dialog = d;
        if (!dialog) {
            if (*answered || ++*tries > 500) {
                timer->stop();
                timer->deleteLater();
            }
            return;
        }
        if (listed) *listed = listedNames(dialog);
        if (++*tries > 200) {
            dialog->reject();
            *answered = true;
        } else if (dialog->acceptMode() == QFileDialog::AcceptSave || (listed && listed->contains(name))) {
            // Typed into the name field: selectFile may not take the name
            // before the dialog has read its folder.
            if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) edit->setText(name);
            static_cast<QDialog*>(dialog)->accept();  // QFileDialog hides it
            *answered = true;
        }
    });
    timer->start(20);
}

TEST_F(NamesTest, BookSavedAsCzechNameIsOfferedAndOpensAgain) {
    trigger(mainfrm->actionlist, "a_kxnew");
    ASSERT_EQ(OpenMelodars().count(), 1);
    auto* window = dynamic_cast<Tmelodarfrm*>(OpenMelodars()[0]->window);
    ASSERT_NE(window, nullptr);
    // A name the program cannot hold is refused, not written under '?'.
    answerFileDialog(QString::fromUtf8(reinterpret_cast<const char*>(u8"Zpěvník 汉字")), nullptr);
    trigger(window->actionlist, "a_save");
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_NE(std::strstr(boxes().shown()[0].text.c_str(), "Zpěvník ??.kx"), nullptr);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(btkSysPath(folder.path("melodary"))), {}), 1);
    boxes().reset();

    answerFileDialog(btkToQString("Lesní zpěvník"), nullptr);
    trigger(window->actionlist, "a_save");
    EXPECT_TRUE(onDisk("melodary/Lesní zpěvník.kx"));
    EXPECT_EQ(OpenMelodars()[0]->fileName, folder.path("melodary/Lesní zpěvník.kx"));
    boxes().answer(btkID_YES);
    window->close();
    idle();
    ASSERT_EQ(OpenMelodars().count(), 0);

    QStringList listed;
    answerFileDialog(btkToQString("Lesní zpěvník.kx"), &listed);
    trigger(mainfrm->actionlist, "a_kxload");
    EXPECT_TRUE(listed.contains(btkToQString("Lesní zpěvník.kx"))) << listed.join(' ').toStdString();
    ASSERT_EQ(OpenMelodars().count(), 1);
    EXPECT_EQ(OpenMelodars()[0]->fileName, folder.path("melodary/Lesní zpěvník.kx"));
    EXPECT_TRUE(boxes().shown().empty());
}

TEST_F(NamesTest, TypesAndExportFiltersWithCzechNamesAreListed) {
    QStringList types, filters;
    kxtypesfrm->runner = [&](Tkxtypesfrm& form) {
        for (int i = 0; i < form.kxtypes->count(); ++i) types << form.kxtypes->item(i)->text();
        return int(QDialog::Rejected);
    };
    trigger(mainfrm->actionlist, "a_kxtypes");
    EXPECT_TRUE(types.contains(btkToQString("Můj typ"))) << types.join(' ').toStdString();
    expflistfrm->runner = [&](Texpflistfrm& form) {
        for (int i = 0; i < form.expfs->count(); ++i) filters << form.expfs->item(i)->text();
        return int(QDialog::Rejected);
    };
    trigger(mainfrm->actionlist, "a_exportfilters");
    EXPECT_TRUE(filters.contains(btkToQString("Čistý text"))) << filters.join(' ').toStdString();
}

}  // namespace
