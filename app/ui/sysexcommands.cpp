#include "app/ui/sysexcommands.h"

#include <QFileInfo>

#include "device/sysexfile.h"
#include "editors/projectsession.h"
#include "workspace/ui/filemessages.h"
#include "workspace/ui/userdialogs.h"

using namespace orb8;

namespace {
QString Q(const std::string& text) { return QString::fromStdString(text); }
}  // namespace

SysExCommands::SysExCommands(UserDialogs& dialogs, QWidget* parent,
                             std::function<void(const QString&)> status)
    : QObject(parent), dialogs_(dialogs), parent_(parent), status_(std::move(status)) {}

void SysExCommands::Export(ProjectSession& project, std::optional<int> only, int channel) {
    project.Settle();
    const QString chosen = dialogs_.SaveFileName(parent_, tr("SysEx file (*.syx)"), QString());
    if (chosen.isEmpty()) return;
    QString path = chosen;
    if (!path.endsWith(".syx", Qt::CaseInsensitive)) {
        path += ".syx";
        if (QFileInfo::exists(path) &&
            !dialogs_.AskYesNo(parent_, tr("ORB-8ED"), tr("%1 already exists.\nDo you want to replace it?").arg(path)))
            return;
    }
    const auto bytes = PatchesAsSysEx(project.Document(), channel, only);
    const FileResult r = WriteFileAtomically(path.toStdString(), bytes);
    if (!r.ok()) {
        dialogs_.ShowError(parent_, tr("ORB-8ED"), FileMessageText(r, "SysEx file"));
        return;
    }
    status_(tr("%1 written to %2").arg(only ? tr("1 patch") : tr("80 patches"), path));
}

std::optional<SessionChange> SysExCommands::Import(ProjectSession& project, int current) {
    project.Settle();
    const QString path = dialogs_.OpenFileName(parent_, tr("SysEx file (*.syx)"));
    if (path.isEmpty()) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    const FileResult r = ReadFileBytes(path.toStdString(), 16u << 20, bytes);
    if (!r.ok()) {
        dialogs_.ShowError(parent_, tr("ORB-8ED"), FileMessageText(r, "SysEx file"));
        return std::nullopt;
    }
    const SysExContents contents = ReadSysEx(bytes);
    // An edit buffer alone needs a row to go to.
    const bool bufferHasRow = ProjectDocument::ValidRow(current);
    if (!contents.Usable() || (contents.dumps.empty() && !bufferHasRow)) {
        dialogs_.Inform(parent_, tr("ORB-8ED"),
                        tr("%1 holds no ORB-8 patch (%2). Nothing was changed.").arg(path, Q(contents.Summary(bufferHasRow))));
        return std::nullopt;
    }
    const SessionChange change = project.Perform([&](ProjectDocument& document) {
        TakeSysEx(document, contents, current);
        return StepReport{tr("Import SysEx").toStdString(), {}, true};
    });
    dialogs_.Inform(parent_, tr("ORB-8ED"),
                    tr("Taken from %1: %2.").arg(path, Q(contents.Summary(bufferHasRow))));
    return change;
}
