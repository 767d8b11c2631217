#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;

// A captioned group of radio buttons chosen by index, as the option pages use
// them: ItemClicked reports the user's choice only, never SetItemIndex.
class TRadioGroup final : public QGroupBox {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TRadioGroup)

 public:
  TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr);
  ~TRadioGroup() override;

  int ItemIndex() const;
  // Out-of-range indices clear the choice.
  void SetItemIndex(int index);
  int Count() const;

 signals:
  void ItemClicked(int index);

 private:
  QButtonGroup* FButtons;
};
