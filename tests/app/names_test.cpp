// Czech file names in the windows: a book saved and opened again through
// Qt's own file dialogs (on the offscreen platform), and the lists of
// song-book types and export filters.
#include <cstring>
#include <filesystem>
#include <iterator>
#include <memory>
#include <vector>

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
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

// Where a file dialog started: its folder and the name it proposed.
struct DialogStart {
    QString folder;
    QString name;
};

// Answers the next file dialogs from inside their event loops, one name
// each, as a user types it (a null name cancels): an open dialog once its
// folder lists the name (cancelled when it never does), a save dialog at
// once. A dialog beyond the names is cancelled. What the last open dialog listed is left in listed, where each
// dialog started in starts.
void answerFileDialogs(QStringList names, QStringList* listed = nullptr, std::vector<DialogStart>* starts = nullptr) {
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    auto left = std::make_shared<QStringList>(std::move(names));
    auto last = std::make_shared<QPointer<QFileDialog>>();
    QObject::connect(timer, &QTimer::timeout, [=] {
        QFileDialog* dialog = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QFileDialog*>(w); d && d->isVisible()) dialog = d;
        if (!dialog) {
            if (left->isEmpty() || ++*tries > 500) {
                timer->stop();
                timer->deleteLater();
            }
            return;
        }
        if (left->isEmpty()) {
            dialog->reject();  // one more than expected: cancelled, no hang
            return;
        }
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (*last != dialog) {
            *last = dialog;
            if (starts) starts->push_back({dialog->directory().absolutePath(), edit ? edit->text() : QString()});
        }
        if (listed) *listed = listedNames(dialog);
        const QString name = left->front();
        if (name.isNull() || ++*tries > 200) {
            dialog->reject();
        } else if (dialog->acceptMode() == QFileDialog::AcceptSave || (listed && listed->contains(name))) {
            // Typed into the name field: selectFile may not take the name
            // before the dialog has read its folder.
            if (edit) edit->setText(name);
            static_cast<QDialog*>(dialog)->accept();  // QFileDialog hides it
        } else {
            return;
        }
        left->pop_front();
        *tries = 0;
    });
    timer->start(20);
}

TEST_F(NamesTest, BookSavedAsCzechNameIsOfferedAndOpensAgain) {
    trigger(mainfrm->actionlist, "a_kxnew");
    ASSERT_EQ(OpenMelodars().count(), 1);
    auto* window = dynamic_cast<Tmelodarfrm*>(OpenMelodars()[0]->window);
    ASSERT_NE(window, nullptr);
    // A name the program cannot hold is refused, not written under '?'.
    answerFileDialogs({QString::fromUtf8(reinterpret_cast<const char*>(u8"Zpěvník 汉字"))});
    trigger(window->actionlist, "a_save");
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_NE(std::strstr(boxes().shown()[0].text.c_str(), "Zpěvník ??.kx"), nullptr);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(btkSysPath(folder.path("melodary"))), {}), 1);
    boxes().reset();

    answerFileDialogs({btkToQString("Lesní zpěvník")});
    trigger(window->actionlist, "a_save");
    EXPECT_TRUE(onDisk("melodary/Lesní zpěvník.kx"));
    EXPECT_EQ(OpenMelodars()[0]->fileName, folder.path("melodary/Lesní zpěvník.kx"));
    boxes().answer(btkID_YES);
    window->close();
    idle();
    ASSERT_EQ(OpenMelodars().count(), 0);

    QStringList listed;
    answerFileDialogs({btkToQString("Lesní zpěvník.kx")}, &listed);
    trigger(mainfrm->actionlist, "a_kxload");
    EXPECT_TRUE(listed.contains(btkToQString("Lesní zpěvník.kx"))) << listed.join(' ').toStdString();
    ASSERT_EQ(OpenMelodars().count(), 1);
    EXPECT_EQ(OpenMelodars()[0]->fileName, folder.path("melodary/Lesní zpěvník.kx"));
    EXPECT_TRUE(boxes().shown().empty());
}

// A name typed without its extension names the file the extension makes:
// the question is asked about that one, and only once.
TEST_F(NamesTest, ExistingBookTypedWithoutItsExtensionIsAskedAbout) {
    folder.write("melodary/Starý.kx", "<melodar >\n</melodar>\n");
    const btkstring before = folder.read("melodary/Starý.kx");
    const btkstring question = btkFormat("Soubor %s už existuje. Přepsat?", folder.path("melodary/Starý.kx").c_str());
    trigger(mainfrm->actionlist, "a_kxnew");
    ASSERT_EQ(OpenMelodars().count(), 1);
    auto* window = dynamic_cast<Tmelodarfrm*>(OpenMelodars()[0]->window);
    ASSERT_NE(window, nullptr);
    // "Ne" shows the dialog again, which is cancelled here.
    boxes().answer(btkID_NO);
    answerFileDialogs({btkToQString("Starý"), QString()});
    trigger(window->actionlist, "a_save");
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_EQ(boxes().shown()[0].text, question);
    EXPECT_EQ(folder.read("melodary/Starý.kx"), before);
    EXPECT_TRUE(OpenMelodars()[0]->fileName.empty());

    boxes().reset();
    boxes().answer(btkID_YES);
    answerFileDialogs({btkToQString("Starý")});
    trigger(window->actionlist, "a_save");
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_EQ(boxes().shown()[0].text, question);
    EXPECT_NE(folder.read("melodary/Starý.kx"), before);
    EXPECT_EQ(OpenMelodars()[0]->fileName, folder.path("melodary/Starý.kx"));
}

// A program folder without melodary/: the book dialogs still open that
// folder, with an empty name.
TEST_F(NamesTest, BookDialogsStartInTheBookFolderWhenItIsMissing) {
    std::filesystem::remove_all(btkSysPath(folder.path("melodary")));
    trigger(mainfrm->actionlist, "a_kxnew");
    ASSERT_EQ(OpenMelodars().count(), 1);
    auto* window = dynamic_cast<Tmelodarfrm*>(OpenMelodars()[0]->window);
    ASSERT_NE(window, nullptr);
    std::vector<DialogStart> starts;
    answerFileDialogs({QString()}, nullptr, &starts);
    trigger(window->actionlist, "a_save");
    answerFileDialogs({QString()}, nullptr, &starts);
    trigger(mainfrm->actionlist, "a_kxload");
    ASSERT_EQ(starts.size(), 2u);
    const QString books = QFileInfo(btkToQString(folder.path("melodary"))).canonicalFilePath();
    EXPECT_FALSE(books.isEmpty());
    for (const DialogStart& start : starts) {
        EXPECT_EQ(QFileInfo(start.folder).canonicalFilePath(), books) << start.folder.toStdString();
        EXPECT_EQ(start.name, QString());
    }
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
