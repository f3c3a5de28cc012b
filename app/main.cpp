#include "shell/TourlogApplication.h"
#include "shell/Unit1.h"

int main(int argc, char* argv[])
{
    TourlogApplication app(argc, argv);
    TForm1 form1;
    form1.show();
    return app.exec();
}
