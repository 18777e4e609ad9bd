// The punchbook program. Everything happens in pb::RunPunchbook.
#include "gui/app/Main.h"

int main(int argc, char** argv) {
    return pb::RunPunchbook(argc, argv);
}
