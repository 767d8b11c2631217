#pragma once

#include <QObject>
#include <memory>

class TForm1;
class TToolBarForm;

// The floating toolbar and the notification-area menu's commands, tied to the
// main window: when the toolbar shows, what its buttons and the menu's
// reading items do, and the status and progress it mirrors.
class TTrayToolbarCommands final : public QObject {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TTrayToolbarCommands)

 public:
  explicit TTrayToolbarCommands(TForm1& form);
  ~TTrayToolbarCommands() override;

  TToolBarForm* Toolbar() const { return FToolbar.get(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void WireReadingCommands();
  void FollowRunState();
  void SyncGauge();

  TForm1& FForm;
  std::unique_ptr<TToolBarForm> FToolbar;
};
