#include "TBaseRegistryClassUnit.h"

#include "BaseUtils.h"
#include "RegistryEnhanced.h"
#include "SettingsErrors.h"
#include "TRegistryStore.h"
#include "UserMessages.h"
#include "UserRegistry.h"

TBaseRegistryClass::TBaseRegistryClass() = default;

TBaseRegistryClass::~TBaseRegistryClass() = default;

BaseRegClass* TBaseRegistryClass::AddItem(const QString& name, TRegLocation location,
                                          const QString& oldName, const QVariant& defaultValue,
                                          quint8 type) {
  std::unique_ptr<BaseRegClass> item;
  switch (type) {
    case regInt:
      item = std::make_unique<TRegIntClass>(name, location, oldName, defaultValue.toInt());
      break;
    case regReal:
      item = std::make_unique<TRegRealClass>(name, location, oldName, defaultValue.toDouble());
      break;
    case regBool:
      item = std::make_unique<TRegBoolClass>(name, location, oldName, defaultValue.toBool());
      break;
    case regString:
      item = std::make_unique<TRegStringClass>(name, location, oldName, defaultValue.toString());
      break;
    case regList:
      item = std::make_unique<TRegListClass>(name, location, oldName);
      break;
    default:
      return nullptr;
  }
  FItems.push_back(std::move(item));
  return FItems.back().get();
}

BaseRegClass* TBaseRegistryClass::FindItem(const QString& name) const {
  for (const auto& item : FItems) {
    if (item->Name.compare(name, Qt::CaseInsensitive) == 0) {
      return item.get();
    }
  }
  UserMessages().ShowMessage(QStringLiteral("No such registry item as name between equals =") +
                             name + u'=');
  return nullptr;
}

void TBaseRegistryClass::GetValue(const QString& name, QVariant& value) const {
  if (const BaseRegClass* item = FindItem(name)) {
    value = item->GetVariant();
  }
}

QVariant TBaseRegistryClass::GetValue(const QString& name) const {
  QVariant value;
  GetValue(name, value);
  return value;
}

void TBaseRegistryClass::SetValue(const QString& name, const QVariant& value) {
  if (BaseRegClass* item = FindItem(name)) {
    item->SetVariant(value);
  }
}

QString TBaseRegistryClass::SectionOf(const BaseRegClass& item) const {
  return item.Location != 0 ? u'\\' + SubKey : QString();
}

void TBaseRegistryClass::LoadItem(TRegistryEnhanced& reg, BaseRegClass& item) {
  const QString section = SectionOf(item);
  if (auto* list = dynamic_cast<TRegListClass*>(&item)) {
    reg.Key = RootPath + section + QStringLiteral("\\List") + item.Name;
    list->List.clear();
    QStringList names;
    reg.GetValueNames(QString(), names);
    for (const QString& name : names) {
      list->List << reg.ReadValue(name).toString();
    }
    return;
  }
  reg.Key = RootPath + section;
  QString text = reg.ReadValueDef(item.Name, DefaultValueMarker).toString();
  if (text == DefaultValueMarker && item.Location == 1) {
    reg.Key = RootPath;
    text = reg.ReadValueDef(item.OldName, DefaultValueMarker).toString();
  }
  if (text == DefaultValueMarker) {
    text = item.DefaultAsString();
  }
  item.FromString(text);
}

void TBaseRegistryClass::LoadAll() {
  TRegistryEnhanced reg;
  reg.RootKey = hkCurrentUser;
  reg.Access = kAllAccess;
  for (const auto& item : FItems) {
    try {
      LoadItem(reg, *item);
    } catch (const Exception& error) {
      // One unreadable value must not leave every later setting at zero
      // (a zero entry count, for one, would later be divided by).
      UtilsClass::Trace(QStringLiteral("Setting %1 could not be loaded (%2); using its default")
                            .arg(item->Name, error.Message()));
      if (auto* list = dynamic_cast<TRegListClass*>(item.get())) {
        list->List.clear();
      } else {
        item->FromString(item->DefaultAsString());
      }
    }
  }
}

void TBaseRegistryClass::SaveItem(TRegistryEnhanced& reg, const BaseRegClass& item) {
  const QString section = SectionOf(item);
  if (const auto* list = dynamic_cast<const TRegListClass*>(&item)) {
    reg.Key = RootPath + section + QStringLiteral("\\List") + item.Name;
    QStringList names;
    reg.GetValueNames(QString(), names);
    for (const QString& name : names) {
      reg.DeleteValue(name);
    }
    for (qsizetype i = 0; i < list->List.size(); ++i) {
      reg.WriteValue(QString::number(i), list->List[i]);
    }
    return;
  }
  reg.Key = RootPath + section;
  reg.WriteValue(item.Name, item.AsString());
}

void TBaseRegistryClass::SaveAll() {
  TRegistryBatch batch(UserRegistry());
  TRegistryEnhanced reg;
  reg.RootKey = hkCurrentUser;
  reg.Access = kAllAccess;
  for (const auto& item : FItems) {
    try {
      SaveItem(reg, *item);
    } catch (const Exception& error) {
      UtilsClass::Trace(
          QStringLiteral("Setting %1 could not be saved: %2").arg(item->Name, error.Message()));
    }
  }
}
