#pragma once
// The main window: menu, caption, the drawing surface and the components
// that drive the game. The rules themselves live in the core.

#include <QMainWindow>
#include <QString>
#include <memory>

#include "game/GameState.h"
#include "game/Interfaces.h"
#include "game/Random.h"

namespace Ui { class TMainForm; }
class TDXDraw;
class TDXTimer;
class TDXInput;
class QFileDialog;
class TFormAbout;

class TMainForm : public QMainWindow,
                  private veltrix::CaptionInterface,
                  private veltrix::SwitchesInterface {
    Q_OBJECT
public:
    // Sound and random numbers come from outside so that tests can record them.
    TMainForm(veltrix::SoundInterface& sound, std::unique_ptr<veltrix::RandomInterface> random = nullptr,
              QWidget* parent = nullptr);
    ~TMainForm() override;

    veltrix::GameState State;

    TDXDraw* DXDraw = nullptr;
    TDXTimer* DXTimer = nullptr;
    TDXInput* DXInput = nullptr;
    QFileDialog* OpenDialog = nullptr;
    QFileDialog* SaveDialog = nullptr;
    TFormAbout* FormAbout = nullptr;

    QAction* Item(const char* name) const;
    veltrix::GamePorts Ports();

public slots:
    void NNewClick();
    void NSoundOnClick();
    void NSoundOffClick();
    void NLevelClick();
    void NSaveClick();
    void NLoadClick();
    void NAboutClick();
    void NQuitClick();
    void DXTimerTimer(QObject* sender, std::uint32_t lagCount);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormClose(QCloseEvent* event);
    void Guard(const std::function<void()>& body);

    void SetCaption(const std::string& utf8) override;
    bool LevelAdvanceAllowed() const override;

    std::unique_ptr<Ui::TMainForm> ui;
    veltrix::SoundInterface& sound_;
    std::unique_ptr<veltrix::RandomInterface> random_;
    bool levelAllowed_ = true;  // NLevel's mark before the latest click
};
