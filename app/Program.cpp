#include "Program.h"

#include "Ackerrordialog.h"
#include "Commandline.h"
#include "Configcompare.h"
#include "Fileexistsunit.h"
#include "I2cunit.h"
#include "Initunit.h"
#include "Mainunit.h"
#include "RegisterCompareWindow.h"
#include "Workingunit.h"

#include <QLocale>

#include <clocale>
#include <initializer_list>

void FixNumberFormatting() {
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());
}

TProgram::TProgram(const ProgramServices& services) : transportUi_(services.messageBoxes) {
    FixNumberFormatting();
    // The transport comes first so that the models can ask it whether the
    // bus is usable; it reaches the windows only once they exist.
    transport_ = std::make_unique<TI2CForm>(services.createAdapter(), &transportUi_);
    main_ = std::make_unique<TMainForm>(*transport_, services.fileDialogs, services.documents,
                                        services.messageBoxes);
    errorDialog_ = std::make_unique<TACK_ErrorDialogForm>();
    transportUi_.Attach(main_->Strip().LabelStatusUnits, errorDialog_.get());
    working_ = std::make_unique<TWorkingForm>();
    commandLine_ =
        std::make_unique<TCommandLineForm>(main_->Table(), *transport_, *main_, services.fileDialogs);
    main_->Table().SetDeviceAddressSource(commandLine_.get());
    main_->SetRegisterWindow(commandLine_.get());
    init_ = std::make_unique<TInitForm>(*main_, *transport_, *working_);
    configCompare_ =
        std::make_unique<TConfigCompareForm>(main_->Table(), *transport_, *main_, services.fileDialogs);
    main_->SetCompareWindow(configCompare_.get());
    fileExists_ = std::make_unique<TFileExistsForm>();
    main_->Table().SetOverwriteQuestion(fileExists_.get());
    // Closing the main window ends the program, whatever tool window is up.
    for (QWidget* window : std::initializer_list<QWidget*>{
             errorDialog_.get(), working_.get(), commandLine_.get(), init_.get(), configCompare_.get(),
             &configCompare_->RegisterCompare(), fileExists_.get()})
        window->setAttribute(Qt::WA_QuitOnClose, false);
}

TProgram::~TProgram() {
    init_.reset();
    main_->SetCompareWindow(nullptr);
    configCompare_.reset();
    main_->Table().SetOverwriteQuestion(nullptr);
    main_->Table().SetDeviceAddressSource(nullptr);
    fileExists_.reset();
    commandLine_.reset();
    working_.reset();
    transportUi_.Attach(nullptr, nullptr);
    errorDialog_.reset();
    main_.reset();
    transport_.reset();
}
