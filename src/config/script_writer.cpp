#include "config/script_writer.h"

#include "config/address_checks.h"
#include "config/script_table.h"
#include "lang/fixed_texts.h"

namespace config {

namespace {

/// The script of one set of pages: their modes, read once, and the lines.
class Writer {
 public:
  Writer(const ConfigPages& p, Secrets secrets)
      : p_(p),
        secrets_(secrets),
        network_(p.RG_Network_type.ItemIndex()),
        protocol_(p.RG_Protocol.ItemIndex()),
        attachment_(AttachmentOf(p)) {}

  std::vector<std::string> Write() {
    const ScriptTable& table = TheScriptTable();
    const platform::StringGrid& grid = p_.SG_VoIP_Phone_number;
    for (size_t i = 0, end; i < table.rows.size(); i = end) {
      end = table.BlockEnd(i);
      if (!table.rows[i].perPhone) {
        Emit(table.rows[i], 0);
        continue;
      }
      // A port row without a phone number is a port not in use.
      for (int r = 1; r < grid.RowCount(); ++r)
        if (!grid.Cell(2, r).empty())
          for (size_t j = i; j < end; ++j) Emit(table.rows[j], r);
    }
    return std::move(lines_);
  }

 private:
  bool Holds(const Presence& w) const {
    switch (w.kind) {
      case Presence::Always: return true;
      case Presence::Checked: return (p_.*w.a->check).Checked();
      case Presence::Unchecked: return !(p_.*w.a->check).Checked();
      case Presence::Filled: return !IsEmpty(*w.a, p_) || (w.b && !IsEmpty(*w.b, p_));
      case Presence::BothFilled: return !IsEmpty(*w.a, p_) && !IsEmpty(*w.b, p_);
      case Presence::NotDefault: return EditOf(*w.a, p_).Text() != w.a->resetText;
    }
    return false;
  }

  void Emit(const ScriptRow& row, int phoneRow) {
    if (!row.modes.Hold(network_, protocol_, attachment_) || !Holds(row.presence)) return;
    const platform::StringGrid& grid = p_.SG_VoIP_Phone_number;
    std::string line;
    for (const Piece& piece : row.pieces) {
      switch (piece.kind) {
        case PieceKind::Literal: line += piece.literal; break;
        case PieceKind::Value: line += Value(*piece.field); break;
        case PieceKind::PhoneTag: line += std::to_string(phoneRow - 1); break;
        case PieceKind::PhonePort: line += grid.Cell(0, phoneRow); break;
        case PieceKind::PhoneNumber: line += grid.Cell(2, phoneRow); break;
      }
    }
    lines_.push_back(std::move(line));
  }

  std::string Value(const ScriptField& f) const {
    std::string value = LineValue(f, p_);
    return f.kind == FieldKind::Secret && secrets_ == Secrets::Masked ? SecretDots(value) : value;
  }

  const ConfigPages& p_;
  const Secrets secrets_;
  const int network_;
  const int protocol_;
  const Attachment attachment_;
  std::vector<std::string> lines_;
};

}  // namespace

std::vector<std::string> ConfigurationScript(const ConfigPages& pages, Secrets secrets) {
  return Writer(pages, secrets).Write();
}

std::string SecretDots(std::string_view secret) {
  std::string dots;
  for (size_t i = 0; i < secret.size(); ++i) dots += lang::fixed::kSecretDot;
  return dots;
}

std::string LineValue(const ScriptField& f, const ConfigPages& p) {
  const std::string& text = EditOf(f, p).Text();
  return f.kind == FieldKind::Address ? WithoutBlanks(text) : text;
}

}  // namespace config
