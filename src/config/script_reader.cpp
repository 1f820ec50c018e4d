#include "config/script_reader.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>

#include "config/script_table.h"
#include "config/script_writer.h"
#include "lang/fixed_texts.h"

namespace config {

namespace {

using Reason = Refusal::Reason;

/// The values a line holds when it has a row's shape: its literal pieces in
/// place and a value between them (the table alternates the two). A value runs to the first place its next
/// literal appears, or to the end of the line's own ending literal; since a
/// configuration is only taken when it writes the same lines again, where a
/// value that holds the next literal is cut does not matter.
bool Match(const ScriptRow& row, std::string_view line, std::vector<std::string_view>& values) {
  values.clear();
  size_t pos = 0;
  const std::vector<Piece>& pieces = row.pieces;
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (pieces[i].kind == PieceKind::Literal) {
      if (line.substr(pos, pieces[i].literal.size()) != pieces[i].literal) return false;
      pos += pieces[i].literal.size();
      continue;
    }
    size_t end = line.size();
    if (i + 1 < pieces.size()) {
      const std::string& next = pieces[i + 1].literal;
      if (i + 2 == pieces.size()) {
        if (line.size() < pos + next.size() || !line.ends_with(next)) return false;
        end = line.size() - next.size();
      } else if ((end = line.find(next, pos)) == line.npos) {
        return false;
      }
    }
    values.push_back(line.substr(pos, end - pos));
    pos = end;
  }
  return pos == line.size();
}

/// Four groups of one to three digits: the only addresses an address field
/// gives back as they were written, and whole ones.
bool IsWholeAddress(std::string_view text) {
  int groups = 0;
  size_t start = 0;
  while (true) {
    const size_t dot = std::min(text.find('.', start), text.size());
    const std::string_view group = text.substr(start, dot - start);
    if (group.empty() || group.size() > 3 || group.find_first_not_of("0123456789") != group.npos)
      return false;
    ++groups;
    if (dot == text.size()) return groups == 4;
    start = dot + 1;
  }
}

std::optional<int> PhoneTag(std::string_view text) {
  int tag = -1;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), tag);
  if (ec != std::errc() || end != text.data() + text.size() || tag < 0 || tag >= kMaxPhoneRows) return {};
  return tag;
}

size_t IndexOf(const ScriptField* f) { return size_t(f - TheScriptTable().fields.data()); }

const ScriptField* PhonesField() {
  for (const ScriptField& f : TheScriptTable().fields)
    if (f.kind == FieldKind::Phones) return &f;
  return nullptr;
}

/// The field of a row's first value (the phone grid for a grid row's
/// pieces); null for a row of literals only.
const ScriptField* FirstField(const ScriptRow& row) {
  for (const Piece& p : row.pieces)
    if (p.kind != PieceKind::Literal) return p.field ? p.field : PhonesField();
  return nullptr;
}

struct Failure {
  size_t index;  // the offending line's index; the line count when the lines end early
  Reason reason;
  const ScriptField* field = nullptr;
  /// The walk went through, but the fields did not write the same lines.
  bool walked = false;
};

/// What one walk of the table over the lines found, for one choice of the
/// modes the script was written in.
struct Reading {
  Reading(int n, int p, Attachment a) : network(n), protocol(p), attachment(a) {}
  int network;
  int protocol;
  Attachment attachment;
  std::vector<std::optional<std::string>> texts = std::vector<std::optional<std::string>>(Fields());
  std::vector<std::optional<bool>> checks = std::vector<std::optional<bool>>(Fields());
  /// The line that gave each field its value, or after which it was found
  /// missing (the place Save's refusal of it is blamed on).
  std::vector<size_t> lineOf = std::vector<size_t>(Fields(), 0);
  /// The row each line was read as.
  std::vector<const ScriptRow*> rowOf;
  /// The numbered grid rows, in order: the voice-port block and the POTS
  /// peer of the n-th both describe the n-th.
  struct Phone {
    std::string port;
    std::optional<std::string> number;
    std::optional<int> tag;
  };
  std::vector<Phone> phones;

  static size_t Fields() { return TheScriptTable().fields.size(); }
};

/// Walks the table over the lines as the writer would for one choice of
/// modes: a line the modes write must be there, a line that depends on a
/// field is there or not, and each block of the numbered grid rows repeats
/// while its first line is there.
class Walk {
 public:
  Walk(const std::vector<ScriptLine>& lines, Reading& r) : lines_(lines), r_(r) {
    r_.rowOf.assign(lines.size(), nullptr);
  }

  std::optional<Failure> Run() {
    const ScriptTable& table = TheScriptTable();
    for (size_t i = 0, end; i < table.rows.size(); i = end) {
      end = table.BlockEnd(i);
      if (!table.rows[i].perPhone) {
        if (auto f = Take(table.rows[i], 0)) return f;
        continue;
      }
      const ScriptRow* first = nullptr;
      for (size_t j = i; j < end && !first; ++j)
        if (Written(table.rows[j])) first = &table.rows[j];
      for (size_t phone = 0; first && pos_ < lines_.size() && Match(*first, lines_[pos_].text, values_);
           ++phone) {
        if (r_.phones.size() <= phone) r_.phones.resize(phone + 1);
        for (size_t j = i; j < end; ++j)
          if (auto f = Take(table.rows[j], phone)) return f;
      }
    }
    if (pos_ < lines_.size()) return Failure{pos_, Reason::MisplacedLine};
    return std::nullopt;
  }

 private:
  bool Written(const ScriptRow& row) const { return row.modes.Hold(r_.network, r_.protocol, r_.attachment); }

  std::optional<Failure> Take(const ScriptRow& row, size_t phone) {
    if (!Written(row)) return std::nullopt;
    const bool there = pos_ < lines_.size() && Match(row, lines_[pos_].text, values_);
    if (row.presence.kind == Presence::Always && !there)
      return Failure{pos_, pos_ < lines_.size() ? Reason::MisplacedLine : Reason::EndsEarly};
    return there ? Present(row, phone) : Absent(row);
  }

  std::optional<Failure> Present(const ScriptRow& row, size_t phone) {
    size_t value = 0;
    for (const Piece& piece : row.pieces) {
      if (piece.kind == PieceKind::Literal) continue;
      const std::string_view text = values_[value++];
      switch (piece.kind) {
        case PieceKind::Value: {
          const ScriptField& f = *piece.field;
          if ((f.kind == FieldKind::Address && !IsWholeAddress(text)) ||
              (f.kind == FieldKind::Port && !IsPortNumber(text)))
            return Failure{pos_, Reason::Misfit, &f};
          Give(f, std::string(text), pos_);
          break;
        }
        // Pieces of a grid row stand only in the blocks, whose phone exists.
        case PieceKind::PhoneTag:
          if (!(r_.phones[phone].tag = PhoneTag(text))) return Failure{pos_, Reason::Misfit, PhonesField()};
          break;
        case PieceKind::PhonePort: r_.phones[phone].port = text; break;
        case PieceKind::PhoneNumber: r_.phones[phone].number = text; break;
        case PieceKind::Literal: break;
      }
    }
    const Presence& w = row.presence;
    if (w.kind == Presence::Checked || w.kind == Presence::Unchecked)
      r_.checks[IndexOf(w.a)] = w.kind == Presence::Checked;
    r_.rowOf[pos_++] = &row;
    return std::nullopt;
  }

  /// A line that depends on its fields is not there: they are empty (or at
  /// their reset text), its check box as the line's absence says.
  std::optional<Failure> Absent(const ScriptRow& row) {
    const Presence& w = row.presence;
    if (w.kind == Presence::Checked || w.kind == Presence::Unchecked)
      r_.checks[IndexOf(w.a)] = w.kind == Presence::Unchecked;
    const size_t before = pos_ > 0 ? pos_ - 1 : 0;
    for (const Piece& piece : row.pieces)
      if (piece.kind == PieceKind::Value) Give(*piece.field, piece.field->resetText, before);
    return std::nullopt;
  }

  void Give(const ScriptField& f, std::string text, size_t line) {
    const size_t i = IndexOf(&f);
    if (!r_.texts[i]) r_.lineOf[i] = line;
    r_.texts[i] = std::move(text);
  }

  const std::vector<ScriptLine>& lines_;
  Reading& r_;
  size_t pos_ = 0;
  std::vector<std::string_view> values_;
};

/// The numbered rows of a reading in the grid of `into`, which holds
/// `current`'s rows: each goes to the row its POTS peer's tag names, the
/// others keep their ports and lose their numbers.
void PlacePhones(const Reading& r, const ConfigPages& current, ConfigPages& into) {
  const platform::StringGrid& old = current.SG_VoIP_Phone_number;
  platform::StringGrid& grid = into.SG_VoIP_Phone_number;
  std::vector<int> rows;
  int last = 0;
  for (const Reading::Phone& p : r.phones) rows.push_back(last = p.tag ? *p.tag + 1 : last + 1);
  grid.SetRowCount(std::min(std::max(old.RowCount(), last + 1), kMaxPhoneRows + 1));
  for (int row = 1; row < grid.RowCount(); ++row) grid.SetCell(2, row, "");
  for (size_t i = 0; i < r.phones.size(); ++i) {
    const Reading::Phone& p = r.phones[i];
    const int row = rows[i];
    if (row >= grid.RowCount()) continue;  // a block without a tag: the lines will not match
    if (grid.Cell(0, row) != p.port) {
      grid.SetCell(0, row, p.port);
      grid.SetCell(1, row, "");  // the port type is the gateway's, and this is another port
    }
    const bool known = old.Cell(0, row) == p.port && !old.Cell(2, row).empty();
    grid.SetCell(2, row,
                 p.number ? *p.number
                 : known  ? old.Cell(2, row)
                          : std::string(lang::fixed::kUnknownNumber));
  }
}

/// The fields of `into` as the reading gives them.
void Fill(const Reading& r, const ConfigPages& current, ConfigPages& into) {
  const std::vector<ScriptField>& fields = TheScriptTable().fields;
  for (size_t i = 0; i < fields.size(); ++i) {
    const ScriptField& f = fields[i];
    switch (f.kind) {
      case FieldKind::Text:
      case FieldKind::Secret:
      case FieldKind::Port:
      case FieldKind::Address: EditOf(f, into).SetText(r.texts[i].value_or(f.resetText)); break;
      case FieldKind::Check: (into.*f.check).SetChecked(r.checks[i].value_or(false)); break;
      case FieldKind::Choice:
        (into.*f.group).SetItemIndex(f.group == &ConfigPages::RG_Network_type ? r.network : r.protocol);
        break;
      case FieldKind::Attachment: SetAttachment(into, r.attachment); break;
      case FieldKind::Phones: PlacePhones(r, current, into); break;
    }
  }
}

/// The line Save's refusal is blamed on: the one that carries (or lacks)
/// the first field of the part it refuses.
size_t BlamedLine(SaveProblem problem, const Reading& r) {
  platform::Edit ConfigPages::*edit = nullptr;
  platform::AddressEdit ConfigPages::*address = nullptr;
  switch (problem) {
    case SaveProblem::Pppoe: edit = &ConfigPages::ED_PPPoE_ID; break;
    case SaveProblem::StaticIp: address = &ConfigPages::ED_Static_IP_address; break;
    default:
      if (r.protocol == kSip) edit = &ConfigPages::ED_SIP_Username;
      if (r.protocol == kMgcp) address = &ConfigPages::ED_MGCP_CallAgent_1;
      if (r.protocol == kH323) address = &ConfigPages::ED_Gatekeeper_IP;
      break;
  }
  const std::vector<ScriptField>& fields = TheScriptTable().fields;
  for (size_t i = 0; i < fields.size(); ++i)
    if ((edit && fields[i].edit == edit) || (address && fields[i].address == address)) return r.lineOf[i];
  return 0;
}

bool MatchesAnyRow(std::string_view line) {
  std::vector<std::string_view> values;
  return std::any_of(TheScriptTable().rows.begin(), TheScriptTable().rows.end(),
                     [&](const ScriptRow& row) { return Match(row, line, values); });
}

Refusal Refuse(const std::vector<ScriptLine>& lines, const Failure& f, const ConfigPages& current) {
  if (f.index >= lines.size()) return Refusal::OfFile(Reason::EndsEarly);
  Refusal r = Refusal::OfLine(f.reason, lines[f.index]);
  if (r.reason == Reason::MisplacedLine && !MatchesAnyRow(r.text)) r.reason = Reason::UnknownLine;
  if (f.field) r.caption = CaptionOf(*f.field, current);
  return r;
}

/// Where the lines a reading writes part from the file's, at line `i`: a
/// line with a value that does not come back (another text, or no line at
/// all) does not fit its field; a line of literals only is out of place (a
/// check box both on and off, say).
Failure Mismatch(const Reading& r, size_t i) {
  const ScriptField* field = i < r.rowOf.size() && r.rowOf[i] ? FirstField(*r.rowOf[i]) : nullptr;
  return {i, field ? Reason::Misfit : Reason::MisplacedLine, field, true};
}

/// The refusal to report: of the modes whose walk went through, the lines'
/// own; otherwise the one that got furthest into the lines, and of two at
/// one line, the one whose shape matched.
bool Further(const Failure& a, const Failure& b) {
  if (a.walked != b.walked) return a.walked;
  if (a.index != b.index) return a.index > b.index;
  return a.reason == Reason::Misfit && b.reason != Reason::Misfit;
}

}  // namespace

std::variant<std::unique_ptr<DetachedPages>, Refusal> ReadScript(const std::vector<ScriptLine>& lines,
                                                                 const ConfigPages& current) {
  if (lines.empty()) return Refusal::OfFile(Reason::NoScript);
  std::optional<Failure> best;
  // The modes are what the lines cannot say outright (a PPPoE block looks
  // alike on both sides, a fixed address without one looks like no choice),
  // so each choice of them is walked; only one can write the lines again.
  for (int network : {kPppoe, kDhcp, kFixed}) {
    for (int protocol : {kH323, kSip, kMgcp}) {
      for (Attachment attachment : {kNoAttachment, kLanDhcp, kLanPppoe, kLanFixed}) {
        Reading r(network, protocol, attachment);
        std::optional<Failure> failed = Walk(lines, r).Run();
        if (!failed) {
          auto into = std::make_unique<DetachedPages>();
          CopyScriptFields(current, into->pages);
          Fill(r, current, into->pages);
          const std::vector<std::string> written = ConfigurationScript(into->pages);
          size_t i = 0;
          while (i < lines.size() && i < written.size() && written[i] == lines[i].text) ++i;
          if (i == lines.size() && i == written.size()) {
            const SaveProblem problem = CheckSave(into->pages, nullptr);
            if (problem == SaveProblem::None) return into;
            Refusal refused = Refusal::OfLine(Reason::SaveCheck, lines[BlamedLine(problem, r)]);
            refused.problem = problem;
            return refused;
          }
          failed = Mismatch(r, i);
        }
        if (!best || Further(*failed, *best)) best = failed;
      }
    }
  }
  return Refuse(lines, *best, current);
}

}  // namespace config
