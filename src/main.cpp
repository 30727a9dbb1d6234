#include "platform/qt/QtMain.h"

int main(int argc, char** argv) {
    return kestrelon::RunKestrelon(argc, argv);
}
