#include "gridenv.h"

#include <QComboBox>
#include <QHeaderView>
#include <QTest>

#include "app/main/songgridmodel.h"
#include "songs/kxsong.h"

btkstring GridDatabaseXml(const std::vector<SongSpec>& songs, const char* customcols) {
    btkstring xml = "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\n<melodar_data version=\"4.0\" >\n";
    xml += btkFormat("<database customcols=\"%s\" >\n", customcols);
    int id = 0;
    for (const SongSpec& song : songs) {
        xml += btkFormat("<song title=\"%s\" group=\"%s\" author=\"%s\" locid=\"%d\" >\n", song.title, song.group,
                         song.author, ++id);
        xml += "<text xml:space=\"preserve\" >[C]la la [G]la</text>\n";
        if (*song.tempo) xml += btkFormat("<vars >\n<var name=\"tempo\" >%s</var>\n</vars>\n", song.tempo);
        xml += "</song>\n";
    }
    xml += "</database>\n</melodar_data>\n";
    return xml;
}

btkstring GeneratedDatabaseXml(int count) {
    btkstring xml = "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\n<melodar_data version=\"4.0\" >\n<database >\n";
    for (int i = 1; i <= count; ++i) {
        // A scrambled number makes the file order differ from every sort.
        const unsigned key = (static_cast<unsigned>(i) * 2654435761u) % 1000003u;
        xml += btkFormat("<song title=\"Píseň %07u\" group=\"Skupina %d\" author=\"Autor %u\" locid=\"%d\" >\n", key,
                         i % 97, key % 1009, i);
        xml += "<text xml:space=\"preserve\" >[C]Čížečku, [G]čížečku, ptáčku [C]maličký</text>\n</song>\n";
    }
    xml += "</database>\n</melodar_data>\n";
    return xml;
}

void GridTest::SetUp() {
    AppTest::SetUp();
    folder.write("options.xml", "<?xml version=\"1.0\" encoding=\"Windows-1250\"?>\n<options db=\"0\" />\n");
}

std::vector<std::string> GridTest::titles() const {
    std::vector<std::string> result;
    for (int row = 0; row < grid()->songCount(); ++row) result.push_back(grid()->songAt(row)->title.c_str());
    return result;
}

std::string GridTest::currentTitle() const {
    KxSong* song = grid()->currentSong();
    return song ? song->title.c_str() : "";
}

void GridTest::clickHeader(int id) {
    QHeaderView* header = grid()->grid->horizontalHeader();
    const int section = gridColumn(id);
    ASSERT_GE(section, 0);
    ASSERT_TRUE(header->isVisible());
    const QPoint point(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                       header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, point);
}

void GridTest::clickCell(int row, int id, Qt::KeyboardModifiers modifiers) {
    const QModelIndex index = grid()->model->index(row, gridColumn(id));
    ASSERT_TRUE(index.isValid());
    grid()->grid->scrollTo(index);
    QTest::mouseClick(grid()->grid->viewport(), Qt::LeftButton, modifiers, grid()->grid->visualRect(index).center());
}

void GridTest::selectDatabase(int index) { mainfrm->dbs->setCurrentIndex(index); }
