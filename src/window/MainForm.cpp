#include "window/MainForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QLayout>
#include <QMenuBar>

#include "about/UnitFormAbout.h"
#include "game/Rules.h"
#include "media/DXDraw.h"
#include "media/DXInput.h"
#include "media/DXTimer.h"
#include "saves/SavedGameDialogs.h"
#include "ui_mainform.h"
#include "window/Guarded.h"

namespace {

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {32, 48, 64, 128, 256}) icon.addFile(QStringLiteral(":/icon-%1.png").arg(size));
    return icon;
}

} // namespace

TMainForm::TMainForm(veltrix::SoundInterface& sound, std::unique_ptr<veltrix::RandomInterface> random,
                     QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::TMainForm>()), sound_(sound), random_(std::move(random)) {
    // Fixed window: system menu, minimise and close box, no maximise box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    ui->setupUi(this);
    levelAllowed_ = ui->NLevel->isChecked();

    // The separators carry the names the menu was designed with.
    int separator = 0;
    for (QAction* action : ui->NGame->actions())
        if (action->isSeparator()) action->setObjectName(separator++ == 0 ? "N6" : "N8");

    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    QFont formFont(QStringLiteral("Arial"));
    formFont.setPixelSize(11);
    setFont(formFont);
    // The menu keeps the desktop's font and colours.
    ui->MainMenu->setFont(QApplication::font());
    QPalette desktop = QApplication::palette();
    desktop.setResolveMask(~QPalette::ResolveMask(0));  // every role set, none inherited from the black form
    ui->MainMenu->setPalette(desktop);
    setWindowIcon(ProgramIcon());

    DXDraw = new TDXDraw(this);
    DXDraw->setObjectName("DXDraw");
    DXDraw->setFixedSize(TDXDraw::SurfaceWidth, TDXDraw::SurfaceHeight);
    setCentralWidget(DXDraw);
    // The client area stays 502 x 576; the window grows by the menu bar.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    connect(DXDraw, &TDXDraw::InitializationFailed, this, [this](const QString& message) {
        ShowErrorBox(this, DXTimer, message);
        QApplication::exit(1);
    });

    DXTimer = new TDXTimer(this);
    DXTimer->setObjectName("DXTimer");
    DXTimer->SetInterval(100);
    DXTimer->SetActiveOnly(true);
    DXTimer->SetWindow(this);
    DXTimer->SetOnTimer([this](std::uint32_t lagCount) { DXTimerTimer(DXTimer, lagCount); });

    OpenDialog = new QFileDialog(this);
    OpenDialog->setObjectName("OpenDialog");
    SaveDialog = new QFileDialog(this);
    SaveDialog->setObjectName("SaveDialog");

    DXInput = new TDXInput(this, this);
    DXInput->setObjectName("DXInput");

    FormCreate();
}

TMainForm::~TMainForm() = default;

QAction* TMainForm::Item(const char* name) const {
    return findChild<QAction*>(QString::fromLatin1(name));
}

veltrix::GamePorts TMainForm::Ports() {
    veltrix::GamePorts ports;
    ports.Surface = DXDraw;
    ports.Sound = &sound_;
    ports.Input = DXInput;
    ports.Timer = DXTimer;
    ports.Caption = this;
    ports.Switches = this;
    ports.Random = random_.get();
    return ports;
}

void TMainForm::FormCreate() {
    const QString savesFolder = SavedGamesFolder();
    ConfigureSavedGameDialog(*OpenDialog, QFileDialog::AcceptOpen, savesFolder);
    ConfigureSavedGameDialog(*SaveDialog, QFileDialog::AcceptSave, savesFolder);
    DXDraw->PreparePalette();
    State.SoundEnabled = true;
    if (!random_) random_ = std::make_unique<veltrix::SeededRandom>(veltrix::SeededRandom::ClockSeed());
}

void TMainForm::closeEvent(QCloseEvent* event) {
    FormClose(event);
}

void TMainForm::FormClose(QCloseEvent* event) {
    // Closing the main window ends the program, also in the middle of a game.
    setAttribute(Qt::WA_DeleteOnClose);
    event->accept();
}

void TMainForm::Guard(const std::function<void()>& body) {
    Guarded(this, DXTimer, body);
}

void TMainForm::SetCaption(const std::string& utf8) {
    setWindowTitle(QString::fromStdString(utf8));
}

bool TMainForm::LevelAdvanceAllowed() const {
    return ui->NLevel->isChecked();
}

void TMainForm::NNewClick() {
    Guard([this] { veltrix::NewGame(State, Ports()); });
}

void TMainForm::NSoundOnClick() {
    Guard([this] {
        State.SoundEnabled = true;
        ui->NSoundOn->setChecked(true);
        ui->NSoundOff->setChecked(false);
    });
}

void TMainForm::NSoundOffClick() {
    Guard([this] {
        State.SoundEnabled = false;
        ui->NSoundOn->setChecked(false);
        ui->NSoundOff->setChecked(true);
    });
}

void TMainForm::NLevelClick() {
    // A checkable menu item turns its own mark before the click arrives, so
    // the opposite is taken of the mark as it was before: one click, one turn,
    // whether the command comes from the menu or from a direct call.
    Guard([this] {
        levelAllowed_ = !levelAllowed_;
        ui->NLevel->setChecked(levelAllowed_);
    });
}

void TMainForm::NSaveClick() {
    Guard([this] { RunSaveCommand(*SaveDialog, State, *DXTimer); });
}

void TMainForm::NLoadClick() {
    Guard([this] { RunLoadCommand(*OpenDialog, State, *DXTimer); });
}

void TMainForm::NAboutClick() {
    Guard([this] { RunAboutCommand(this, FormAbout); });
}

void TMainForm::NQuitClick() {
    Guard([this] { close(); });
}

void TMainForm::DXTimerTimer(QObject* /*sender*/, std::uint32_t /*lagCount*/) {
    // A late tick still moves the serpent by exactly one cell.
    Guard([this] { veltrix::Tick(State, Ports()); });
}
