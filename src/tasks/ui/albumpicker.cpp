#include "albumpicker.h"

#include <QObject>

#include "frmdirlistbox.h"
#include "mdimain.h"

namespace {

const QString kRegistryName = QStringLiteral("glimAlbumPickerRegistry");

class AlbumPickerRegistry : public QObject
{
public:
    explicit AlbumPickerRegistry(Program &program)
        : QObject(&program)
    {
        setObjectName(kRegistryName);
        program.holdInSlot<frmDirListBox>(slot, [&program](QWidget *owner) {
            return new frmDirListBox(program, owner);
        });
    }

    ~AlbumPickerRegistry() override
    {
        // A picker without an owner window would outlive the program otherwise.
        delete slot.loaded();
    }

    WindowSlot<frmDirListBox> slot;
    AlbumPickerHooks hooks;
};

AlbumPickerRegistry &registry(Program &program)
{
    const QObjectList &children = program.children();
    for (QObject *child : children) {
        if (child->objectName() == kRegistryName) {
            if (auto *found = dynamic_cast<AlbumPickerRegistry *>(child)) {
                return *found;
            }
        }
    }
    return *new AlbumPickerRegistry(program);
}

} // namespace

WindowSlot<frmDirListBox> &albumPickerSlot(Program &program)
{
    return registry(program).slot;
}

AlbumPickerHooks &albumPickerHooks(Program &program)
{
    return registry(program).hooks;
}

void OpenAlbumCommand(Program &program)
{
    WindowSlot<frmDirListBox> &slot = albumPickerSlot(program);
    slot.unload();
    frmDirListBox &picker = slot.load();
    picker.setUpOpenMode();
    picker.showModal();
}

void NewAlbumCommand(Program &program)
{
    // A picker hidden by an earlier Cancel still has its name box hidden (open mode) or
    // read-only (print mode); a new album always starts from a fresh one.
    WindowSlot<frmDirListBox> &slot = albumPickerSlot(program);
    slot.unload();
    frmDirListBox &picker = slot.load();
    picker.setUpNewAlbumMode();
    picker.showModal();
}

void OpenAlbumPickerForRename(Program &program)
{
    WindowSlot<frmDirListBox> &slot = albumPickerSlot(program);
    slot.unload();
    frmDirListBox &picker = slot.load();
    picker.setUpAlbumMode();
    picker.showModal();
}
