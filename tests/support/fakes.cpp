#include "support/fakes.h"

#include <QFile>

#include <sys/wait.h>
#include <unistd.h>

#ifdef YUBIN_TEST_WINDOWS
#include <QPrinter>
#endif

namespace yubin::test {

bool RecordingMessageBoxes::show(MessageIcon icon, const QString& title, const QString& text,
                                 MessageButtons buttons) {
    shown.push_back({icon, title, text, buttons});
    if (answers.empty())
        return true;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

QString ScriptedFolderBrowser::chooseFolder(const QString& title, const QString&) {
    titles << title;
    return next;
}

#ifdef YUBIN_TEST_WINDOWS
bool ScriptedPrintDialog::choosePrinter(QPrinter& printer) {
    ++shown;
    if (!accept)
        return false;
    files << folder.filePath(QStringLiteral("print-%1.pdf").arg(files.size() + 1));
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(files.back());
    printer.setResolution(resolution);
    return true;
}
#endif

TestPlatform::TestPlatform() {
    clock.stepPerRead = 1;
}

Platform TestPlatform::platform() const {
    auto* self = const_cast<TestPlatform*>(this);
    Platform p;
    p.messages = &self->messages;
    p.web = &self->web;
    p.folders = &self->folders;
    p.files = &self->files;
    p.screen = &self->screen;
    p.clock = &self->clock;
    p.programFolder = folder.path();
#ifdef YUBIN_TEST_WINDOWS
    p.printDialog = &self->printing;
#endif
    return p;
}

bool runUnprivileged(const std::function<bool()>& check) {
    if (geteuid() != 0)
        return check();
    const pid_t child = fork();
    if (child == 0) {
        const uid_t nobody = 65534;
        if (setgid(nobody) != 0 || setuid(nobody) != 0)
            _exit(3);
        _exit(check() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void openToEveryone(const QString& folder) {
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                      QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                      QFile::ExeOther);
}

} // namespace yubin::test
