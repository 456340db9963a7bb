// Tcustomsortctrl: three rows of controls for the keys of a user-defined
// song order, read from and written to an order element whose children
// item1, item2 and item3 carry colid, custom, revert and datatype.
#pragma once

#include <vector>

#include <QSignalBlocker>
#include <QWidget>

#include "foundation/btkxml.h"

class QComboBox;
class QLineEdit;
class QToolButton;

// The field combo's items: caption and the column id each stands for (32
// the song text, -1 a user field).
struct CustomSortField {
    const char* caption;
    int column;
};
constexpr int CustomSortFieldCount = 8;
extern const CustomSortField CustomSortFields[CustomSortFieldCount];

class Tcustomsortctrl : public QWidget {
public:
    explicit Tcustomsortctrl(QWidget* parent = nullptr);

    // Replaces the element's children by one item1, item2 or item3 per
    // active key.
    void writeKeys(btkXMLNode element) const;
    // Every key inactive, then each key whose item element is present is
    // loaded from it and made active.
    void readKeys(const btkXMLNode& element);

    bool isKeyActive(int key) const;
    void setKeyActive(int key, bool active);

    // Key rows 0, 1, 2 (fld1/user1/order1/datatype1/sw1, ...).
    QComboBox* fld[3] = {};
    QLineEdit* user[3] = {};
    QComboBox* order[3] = {};
    QComboBox* datatype[3] = {};
    QToolButton* sw[3] = {};

private:
    // A change in one of the key's controls: the key becomes active, its
    // user edit enabled exactly for the user field.
    void keyChanged(int key);
    void updateUserEdit(int key);
    void loadKey(int key, const btkXMLNode& item);
    // Code that fills the key controls holds these: filling is no change by
    // the user.
    std::vector<QSignalBlocker> blockKeyEdits();
};
