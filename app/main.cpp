#include "shell/AppTitle.h"
#include "shell/TourlogApplication.h"
#include "shell/Unit1.h"
#include "store/FolderLock.h"

#include <QDir>
#include <QMessageBox>

#include <cstdio>

int main(int argc, char* argv[])
{
    TourlogApplication app(argc, argv);
    const FolderLock lock(QDir::currentPath());
    // a folder that can only be read is opened read-only; one that cannot be read is refused
    if (!lock.acquired() && !lock.readOnlyFolder()) {
        std::fprintf(stderr, "%s\n", qPrintable(lock.refusal()));
        QMessageBox::critical(nullptr, applicationTitle(), lock.refusal());
        return 1;
    }
    TForm1 form1;
    form1.show();
    return app.exec();
}
