#include "cli/fields_json.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace cli {

namespace {

QString Text(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

std::string Written(const QJsonObject& o) {
  return QJsonDocument(o).toJson(QJsonDocument::Indented).toStdString();
}

}  // namespace

std::string FieldsJson(const config::ConfigPages& pages, bool showSecrets) {
  QJsonArray fields;
  for (const config::FieldValue& f : config::FieldsOf(pages)) {
    if (f.secret && !showSecrets) continue;
    fields.append(
        QJsonObject{{"page", Text(f.page)}, {"caption", Text(f.caption)}, {"value", Text(f.value)}});
  }
  return Written({{"model", Text(pages.L_model.Caption())},
                  {"version", Text(pages.L_version.Caption())},
                  {"fields", fields}});
}

std::string ChangesJson(const std::vector<config::Change>& changes, bool showSecrets) {
  QJsonArray out;
  for (const config::Change& c : changes) {
    QJsonObject o{{"page", Text(c.page)}, {"caption", Text(c.caption)}};
    if (c.secret && !showSecrets) {
      o["secret"] = true;
    } else {
      o["before"] = Text(c.before);
      o["after"] = Text(c.after);
    }
    out.append(o);
  }
  return Written({{"changes", out}});
}

std::string StatusJson(const std::string& page, const std::vector<std::string>& lines) {
  QJsonArray out;
  for (const std::string& l : lines) out.append(Text(l));
  return Written({{"page", Text(page)}, {"lines", out}});
}

}  // namespace cli
