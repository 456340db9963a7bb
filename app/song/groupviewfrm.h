// Tgroupviewfrm: the group page of the main window. On the left the group
// names of the shown view, on the right the songs of the selected group as
// a check list whose marks are the song stack. It follows the model through
// the queue: a stack change refreshes one check mark, any other change
// rebuilds the groups once at the end of the pass.
//
// Both lists are item models that read the groups when painted, so a view
// of any size costs one sort per rebuild and no widget per song.
#pragma once

#include <unordered_map>

#include <QListView>

#include "app/song/songlistframe.h"
#include "songs/kxobject.h"
#include "songs/songlists.h"

class QMouseEvent;
class QSplitter;
class GroupNamesModel;
class GroupSongsModel;
class Tgroupviewfrm;

// The song list: a press goes to the frame first (Shift ranges).
class GroupSongsView : public QListView {
public:
    GroupSongsView(Tgroupviewfrm* frame, QWidget* parent);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    Tgroupviewfrm* frame;
};

class Tgroupviewfrm final : public SongListFrame {
public:
    explicit Tgroupviewfrm(QWidget* parent);
    ~Tgroupviewfrm() override;

    // SongListFrame.
    // A different view becomes the shown one and the groups are rebuilt;
    // the same view changes nothing.
    void setView(KxView* view) override;
    KxView* getView() const override { return view; }
    // The selected song of the selected group; null without either.
    KxSong* getActSong() const override;
    // Selects the first group holding the song and the song's line in it;
    // nothing when no group holds it.
    void setActSong(KxSong* song) override;
    void getSongs(btkCntVec<KxSong*>& list) const override { GetAllSongs(list); }
    void songRemoved(KxSong* song) override;

    // Clears the list and appends the songs of every group in group order;
    // returns the number of groups.
    int GetAllSongs(btkCntVec<KxSong*>& list) const;
    int groupCount() const { return groupList.groups.count(); }
    // The selected group's index, -1 for none.
    int selectedGroup() const;
    // Selects a group and fills the song list with its songs (-1: none).
    void selectGroup(int index);
    // The lines of the song list.
    int songCount() const;
    KxSong* songAt(int line) const;

    // The queue handler (objectRemoved: SongListFrame).
    void objectChanged(KxObject* object);
    void objectNotice(KxObject* /*object*/) {}
    void queueDone();

    // From the song list: the check box of a line was clicked; a press on a
    // line (Shift held or not).
    void songsClickCheck(int line);
    void songsMouseDown(int line, bool shift);

    QListView* groups = nullptr;
    QSplitter* Splitter1 = nullptr;
    GroupSongsView* songs = nullptr;

private:
    void rebuild() override;
    void fillSongs();

    int lastClicked = -1;
    SongGroupList groupList;
    TPrivateHandler<Tgroupviewfrm> queueHandler;
    GroupNamesModel* groupModel = nullptr;
    GroupSongsModel* songModel = nullptr;
};
