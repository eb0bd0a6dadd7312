#pragma once

#include "editors/EditStep.h"
#include "installation/Installation.h"

#include <QObject>
#include <QString>
#include <map>
#include <memory>
#include <optional>

struct ModuleState;
struct Report;
class ImageHistory;
class InstallationPanel;
class MainMenus;
class ModuleFiles;
class QAction;
class QMainWindow;
class QTimer;
class QUndoGroup;
class RecentFiles;

// The installation open in the window: the Installatie menu, the side panel, the file, its
// recovery copies, and which module of it is in hand. With no installation open nothing here
// changes what the window does.
//
// A module of the installation is put in hand as a module file is opened (the window shows it
// when it hears moduleShown()); the installer's edits then change that module, and each module
// keeps its own undo history in one group, the active one being that of the module in hand (the
// loose history the window's own, for an image in no module). Reads, sends and checks of the
// module in hand are recorded in it.
class Installations : public QObject
{
    Q_OBJECT
public:
    // `files` saves the image in hand that is in no module, and writes exported modules.
    Installations(ModuleState &state, MainMenus &menus, QMainWindow *window, ImageHistory &loose,
                  ModuleFiles &files);
    ~Installations() override;

    bool isOpen() const { return m_installation.has_value(); }
    // A module of the installation is in hand: the window's edits are that module's.
    bool moduleInHand() const { return m_inHand >= 0; }
    // The installation has changes not saved.
    bool isUnsaved() const { return isOpen() && m_unsaved; }
    const Installation *installation() const { return m_installation ? &*m_installation : nullptr; }
    QString path() const { return m_path; }
    int inHand() const { return m_inHand; }
    // The history undo and redo act on now: the module in hand's, else the loose one.
    ImageHistory *history() const;
    QUndoGroup *group() const { return m_group; }

    // The window's language, the recent installations and the panel's settings.
    void setCaptions(int language);
    void loadSettings();
    // The panel follows the window: disabled during a conversation.
    void setIdle(bool idle);

    // The window's edits, undo or redo changed the image in hand.
    void imageChanged();
    // The names of the module in hand (nullptr: no module of the installation is in hand).
    const ModuleNames *namesInHand() const;
    // The names of the module in hand when a read or a send of this session assigned it to the
    // module on the line; none otherwise (the module in hand may be another one).
    const ModuleNames *namesOfAttached() const;
    // A step that named outputs, push buttons or scenes was taken (or undone, or made again):
    // the module in hand's names follow.
    void applyNames(const EditStep &step, bool undone);
    // The image in hand was replaced by one in no module (a file, a backup, "Nieuw", a read).
    void looseImageTaken();
    // A read completed: the installer says which module of the installation it is.
    void readCompleted();
    // "Versturen" with a module in hand: asks first; false when nothing is to be sent.
    bool confirmSend();
    // The send of the module in hand ended (completely or part-way), the check after it.
    void sendEnded(bool complete);
    void checkEnded(bool equal);

    // Saves the installation (asking for a file for one never saved); true once saved.
    bool save();
    // Closing the installation or opening another: asks about unsaved changes; true to go on.
    bool mayClose();
    // The installer left without saving: the recovery copy is not needed.
    void discardRecovery();
    // At start: copies of installations never saved, offered one by one.
    void offerUnsavedCopies();
    // Writes the recovery copy now when there are unsaved changes (the timer does it every minute).
    void writeRecoveryCopy();

    // Opens the installation at `path` (asking about unsaved changes first); false when it was
    // not opened.
    bool openInstallation(const QString &path);
    // Puts module `index` in hand (asking first about loose edits); false when it was not.
    bool selectModule(int index);

Q_SIGNALS:
    // Module of `type` is in hand now: the window shows it as an opened module file.
    void moduleShown(int type);
    // The module in hand left the window (the installation closed, the module removed).
    void moduleLeft();
    // What the window offers may have changed.
    void changed();
    // Names of the module in hand were read from a file (`step`): the window shows them as after redo.
    void inHandNamesImported(const EditStep &step);
    // A module's own history was made: the window follows its undo and redo.
    void historyAdded(ImageHistory *history);

public Q_SLOTS:
    // Handlers of the Installatie entries, reachable by name.
    void nieuweInstallatie_Click();
    void installatieOpenen_Click();
    void installatieOpslaan_Click();
    void installatieOpslaanAls_Click();
    void installatieSluiten_Click();
    void eigenschappen_Click();
    void moduleToevoegen_Click();
    void modulesImporteren_Click();
    void moduleExporteren_Click();
    void moduleVerwijderen_Click();
    void moduleDupliceren_Click();
    void installatieRapport_Click();
    void overzichtExporteren_Click();
    void namenImporteren_Click();

private Q_SLOTS:
    void rename(int index, int column, const QString &typed);

private:
    int language() const;
    void warn(const QString &text);
    // The installation `installation` is the one open now, from `path` (empty: never saved).
    void take(Installation installation, const QString &path, bool unsaved, const QString &recoveryKey = {});
    void close();
    // Something of the installation changed: it is unsaved, and the panel's row `row` is shown
    // again (-1: none).
    void touched(int row = -1);
    void showAllModules();
    int indexOf(const QString &id) const;
    void storePanel();
    bool saveAs();
    bool saveTo(const QString &path);
    QString recoveryKey() const;
    // Adds a module; false when the installation is full.
    bool addModule(InstallationModule module);
    ImageHistory *historyOf(const QString &id);
    void forgetHistory(const QString &id);
    void showInHand();
    // The window's model carries the names of the module in hand (none without one).
    void syncNames();
    void setTitle();
    // A file dialog of Qt's own in the window's language, started in the module folder.
    // `modules`: module files (several), else an installation file.
    enum class FileKind
    {
        Modules, // module files (several may be chosen)
        Installation,
        Csv,
        Pdf,
    };
    QStringList chooseFiles(const QString &title, bool save, FileKind kind, const QString &objectName);
    Failure exportInBackground(const Report &report, const QString &path, int language);
    // Names changed (or changed back) in module `index`, whether in hand or not.
    void applyNamesTo(int index, const EditStep &step, bool undone);

    ModuleState &m_state;
    MainMenus &m_menus;
    QMainWindow *m_window;
    ImageHistory &m_loose;
    ModuleFiles &m_files;
    QUndoGroup *m_group;
    InstallationPanel *m_panel;
    RecentFiles *m_recent;
    QTimer *m_recoveryTimer;
    QAction *m_panelEntry;
    bool m_panelShown = true;
    int m_panelWidth = 340;
    bool m_recoveryWarned = false;

    std::optional<Installation> m_installation;
    QString m_path;
    bool m_unsaved = false;
    QString m_ownRecoveryKey; // the key of the copies of an installation never saved
    int m_inHand = -1;
    // The module being sent (its id): the send's and the check's outcome are recorded in it.
    QString m_sending;
    // The module a read or a send of this session assigned to the module on the line (its id).
    QString m_attached;
    std::map<QString, std::unique_ptr<ImageHistory>> m_histories;
};
