#include "window/application.hpp"
#include "window/form1.hpp"

int main(int argc, char** argv) {
    heptanote::Application application(argc, argv);
    heptanote::Form1 form1;
    form1.show();
    return application.exec();
}
