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
    if (!lock.acquired()) {
        std::fprintf(stderr, "%s\n", qPrintable(lock.refusal()));
        QMessageBox::critical(nullptr, applicationTitle(), lock.refusal());
        return 1;
    }
    TForm1 form1;
    form1.show();
    return app.exec();
}
