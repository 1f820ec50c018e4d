#include "config/changes.h"

#include <algorithm>

#include "config/address_checks.h"
#include "config/script_table.h"
#include "config/script_writer.h"
#include "lang/fixed_texts.h"

namespace config {

namespace {

std::string Shown(std::string value) { return value.empty() ? std::string(lang::fixed::kEmptyValue) : value; }

std::string ItemOf(const platform::RadioGroup& g) {
  const int i = g.ItemIndex();
  return i < 0 ? std::string(lang::fixed::kNoneChosen) : std::string(TrimBlanks(g.Items()[size_t(i)]));
}

std::string AttachmentText(const ConfigPages& p, const ConfigPages& captions) {
  const platform::RadioButton* radios[] = {&captions.RB_DHCP, &captions.RB_PPPoE, &captions.RB_IP};
  const Attachment a = AttachmentOf(p);
  return a == kNoAttachment ? std::string(lang::fixed::kNoneChosen)
                            : std::string(TrimBlanks(radios[a - 1]->Caption()));
}

/// A field's value as the review shows it.
std::string ValueText(const ScriptField& f, const ConfigPages& p, const ConfigPages& captions) {
  switch (f.kind) {
    case FieldKind::Check: return std::string((p.*f.check).Checked() ? lang::fixed::kOn : lang::fixed::kOff);
    case FieldKind::Choice: return ItemOf(p.*f.group);
    case FieldKind::Attachment: return AttachmentText(p, captions);
    case FieldKind::Secret: return LineValue(f, p);  // masked, or shown, by ChangeLine
    default: return Shown(IsEmpty(f, p) ? std::string() : LineValue(f, p));
  }
}

std::string PageName(const platform::Control& c) {
  const platform::TabSheet* page = PageOf(c);
  return page ? std::string(TrimBlanks(page->Caption())) : std::string();
}

/// The phone grid's two fields of a row, named by its column titles: the
/// port by the row, the number by the port.
std::string PortCaption(const platform::StringGrid& g, int row) {
  return std::string(TrimBlanks(g.Cell(0, 0))) + std::string(lang::fixed::kOfRow) + std::to_string(row);
}
std::string NumberCaption(const platform::StringGrid& g, const std::string& port) {
  return std::string(TrimBlanks(g.Cell(2, 0))) + std::string(lang::fixed::kOfPort) + port;
}

/// The phone grid row by row: a port that changed, then a number.
void PhoneChanges(const ConfigPages& before, const ConfigPages& now, std::vector<Change>& out) {
  const platform::StringGrid &a = before.SG_VoIP_Phone_number, &b = now.SG_VoIP_Phone_number;
  const std::string page = PageName(b);
  for (int row = 1; row < std::max(a.RowCount(), b.RowCount()); ++row) {
    const std::string port = row < b.RowCount() ? b.Cell(0, row) : a.Cell(0, row);
    if (a.Cell(0, row) != b.Cell(0, row))
      out.push_back({page, PortCaption(b, row), Shown(a.Cell(0, row)), Shown(b.Cell(0, row))});
    if (a.Cell(2, row) != b.Cell(2, row))
      out.push_back({page, NumberCaption(b, port), Shown(a.Cell(2, row)), Shown(b.Cell(2, row))});
  }
}

}  // namespace

std::vector<FieldValue> FieldsOf(const ConfigPages& p) {
  std::vector<FieldValue> out;
  for (const ScriptField& f : TheScriptTable().fields) {
    if (f.kind != FieldKind::Phones) {
      out.push_back(
          {PageName(CaptionControl(f, p)), CaptionOf(f, p), ValueText(f, p, p), f.kind == FieldKind::Secret});
      continue;
    }
    const platform::StringGrid& g = p.SG_VoIP_Phone_number;
    const std::string page = PageName(g);
    for (int row = 1; row < g.RowCount(); ++row) {
      out.push_back({page, PortCaption(g, row), Shown(g.Cell(0, row))});
      out.push_back({page, NumberCaption(g, g.Cell(0, row)), Shown(g.Cell(2, row))});
    }
  }
  return out;
}

std::vector<Change> ChangesSince(const ConfigPages& readOut, const ConfigPages& now) {
  std::vector<Change> out;
  for (const ScriptField& f : TheScriptTable().fields) {
    if (f.kind == FieldKind::Phones) {
      PhoneChanges(readOut, now, out);
      continue;
    }
    std::string before = ValueText(f, readOut, now), after = ValueText(f, now, now);
    if (before != after)
      out.push_back({PageName(CaptionControl(f, now)), CaptionOf(f, now), std::move(before), std::move(after),
                     f.kind == FieldKind::Secret});
  }
  return out;
}

std::string ChangeLine(const Change& c, bool reveal) {
  auto shown = [&](const std::string& v) {
    if (!c.secret) return v;
    if (v.empty()) return std::string(lang::fixed::kEmptyValue);
    return reveal ? v : SecretDots(v);
  };
  return c.page + std::string(lang::fixed::kPageSeparator) + c.caption +
         std::string(lang::fixed::kCaptionSeparator) + shown(c.before) + std::string(lang::fixed::kArrow) +
         shown(c.after);
}

}  // namespace config
