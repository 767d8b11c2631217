#pragma once

#include "BaseAboutUnit.h"

// The about box of Verbalune MP3, made for each showing.
class TVerbaluneAboutForm final : public TBaseAboutForm {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TVerbaluneAboutForm)

 public:
  // version: the settings version, shown after "Version: ".
  explicit TVerbaluneAboutForm(const QString& version, QWidget* parent = nullptr);
  ~TVerbaluneAboutForm() override;

  static QString NameText(const QString& version);
};
