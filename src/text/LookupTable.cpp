#include "LookupTable.h"

void TLookupTable::Add(const QString& key, const QString& value) {
  FKeys.append(key);
  FValues.append(value);
  ++FCount;
}

QString TLookupTable::Lookup(QStringView key) const {
  for (int i = 0; i < FCount; ++i) {
    if (FKeys[i] == key) {
      return FValues[i];
    }
  }
  return {};
}

void TLookupTable::FillStateNames() {
  // The spellings are the ones the voices have always been given and the
  // engines pronounce as intended; "Indiania" was not, so it is Indiana.
  static const char16_t* const pairs[][2] = {
      {u"AK", u"Alaska"},       {u"AL", u"Alabama"},        {u"AZ", u"Arizona"},
      {u"CA", u"Callifornia"},  {u"CO", u"Colorado"},       {u"CT", u"Connecticut"},
      {u"DE", u"Delaware"},     {u"FL", u"Florida"},        {u"GA", u"Georgia"},
      {u"HI", u"Hawaii"},       {u"IA", u"Iowa"},           {u"ID", u"Idaho"},
      {u"IL", u"Illinois"},     {u"IN", u"Indiana"},        {u"KS", u"Kansas"},
      {u"KY", u"Kentucky"},     {u"LA", u"Louisiana"},      {u"MA", u"Massachusetts"},
      {u"MD", u"Maryland"},     {u"ME", u"Maine"},          {u"MI", u"Michigan"},
      {u"MN", u"Minnesota"},    {u"MO", u"Missouri"},       {u"MS", u"Mississippi"},
      {u"MT", u"Montana"},      {u"NC", u"North Carolina"}, {u"ND", u"North Dakota"},
      {u"NE", u"Nebraska"},     {u"NH", u"New Hampshire"},  {u"NJ", u"New Jersey"},
      {u"NM", u"New Mexico"},   {u"NV", u"Nevada"},         {u"NY", u"New York"},
      {u"OH", u"Ohio"},         {u"OK", u"Oklahoma"},       {u"OR", u"Oregon"},
      {u"PA", u"Pennsylvania"}, {u"RI", u"Rhode Island"},   {u"SC", u"South Carolina"},
      {u"SD", u"South Dakota"}, {u"TN", u"Tennessee"},      {u"TX", u"Texas"},
      {u"UT", u"Utah"},         {u"VA", u"Virginia"},       {u"VT", u"Vermont"},
      {u"WA", u"Washington"},   {u"WI", u"Wisconsin"},      {u"WV", u"West Virginia"},
      {u"WY", u"Wyoming"},
  };
  for (const auto& pair : pairs) {
    Add(QString::fromUtf16(pair[0]), QString::fromUtf16(pair[1]));
  }
}

const TLookupTable& StateNamesTable() {
  static const TLookupTable table = [] {
    TLookupTable t;
    t.FillStateNames();
    return t;
  }();
  return table;
}
