// Runs the application tests inside the program's own application object,
// so an error escaping an event handler is reported as the program does.
#include "AppFixture.h"
#include "Application.h"

ScriptedMessageBoxes& AppBoxes() {
    static ScriptedMessageBoxes boxes;
    return boxes;
}

int main(int argc, char** argv) {
    TApplication app(argc, argv, AppBoxes());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
