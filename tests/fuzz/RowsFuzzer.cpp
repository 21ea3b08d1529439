// The multi-row text of the string editor's header mode (rows joined by "|") against a
// plain model of the format: a list of rows split and joined the slow, obvious way.
// Input: VALUE \0 TEXT \0 PATTERN \0 REPLACEMENT, then bytes choosing rows.
#include <algorithm>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "IDELinesDlg.h"

namespace {

std::vector<std::string> Split(const std::string& V) {
  std::vector<std::string> R;
  if (V.empty()) return R;
  std::string Row;
  for (char C : V) {
    if (C == '|') {
      R.push_back(Row);
      Row.clear();
    } else {
      Row += C;
    }
  }
  R.push_back(Row);
  return R;
}

std::string Join(const std::vector<std::string>& Rows) {
  std::string R;
  for (size_t I = 0; I < Rows.size(); ++I) R += (I ? "|" : "") + Rows[I];
  return R;
}

std::string NaiveReplace(const std::string& S, const std::string& P, const std::string& W) {
  if (P.empty()) return S;
  std::string R;
  size_t I = 0;
  while (I < S.size()) {
    if (S.compare(I, P.size(), P) == 0) {
      R += W;
      I += P.size();
    } else {
      R += S[I++];
    }
  }
  return R;
}

// PutRow as the format says: the row's text loses its separators; one past the last row
// adds a row unless there is nothing to add; the deletion marker deletes.
std::string ModelPut(const std::string& Value, int Index, const std::string& Text) {
  if (Index < 0) return Value;
  std::string Row = NaiveReplace(Text, "|", "");
  bool Delete = Row == Idelinesdlg::DeletionMarker;
  std::vector<std::string> Rows = Split(Value);
  int N = int(Rows.size());
  // The empty value has no rows, yet puts as one empty row: row 1 follows it.
  if (N == 0 && Index == 0) return Delete ? Value : Row;
  if (N == 0 && Index == 1) return Row.empty() || Delete ? Value : "|" + Row;
  if (Index == N) {
    if (!Row.empty() && !Delete) Rows.push_back(Row);
    return Join(Rows);
  }
  if (Index > N) return Value;
  if (Delete)
    Rows.erase(Rows.begin() + Index);
  else
    Rows[size_t(Index)] = Row;
  return Join(Rows);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const uint8_t *At = Data, *End = Data + Size;
  std::string Value = OmFuzz::Take(At, End), Text = OmFuzz::Take(At, End), Pattern = OmFuzz::Take(At, End),
              Replacement = OmFuzz::Take(At, End);
  // A few bytes turn the text into the deletion marker, which random bytes never reach.
  if (!Text.empty() && Text[0] == '\x7f') Text = Idelinesdlg::DeletionMarker;

  OM_FUZZ_CHECK(Idelinesdlg::ReplaceAll(Value, Pattern, Replacement) ==
                    NaiveReplace(Value, Pattern, Replacement),
                Value + " / " + Pattern + " / " + Replacement);
  // The memo's line ends, as the editor folds them into one row.
  OM_FUZZ_CHECK(Idelinesdlg::ReplaceAll(Value, "\r\n", "\r") == NaiveReplace(Value, "\r\n", "\r"), Value);

  std::vector<std::string> Rows = Split(Value);
  OM_FUZZ_CHECK(Idelinesdlg::RowCount(Value) == int(Rows.size()), Value);
  for (int I = -1; I <= int(Rows.size()) + 1; ++I)
    OM_FUZZ_CHECK(Idelinesdlg::GetRow(Value, I) == (I >= 0 && I < int(Rows.size()) ? Rows[size_t(I)] : ""),
                  Value);

  // Each remaining byte puts the text into a row near the end (or before the first).
  std::string V = Value;
  for (; At < End; ++At) {
    int Index = int(*At % (Split(V).size() + 3)) - 1;
    std::string Expected = ModelPut(V, Index, Text);
    Idelinesdlg::PutRow(V, Index, Text);
    OM_FUZZ_CHECK(V == Expected, std::string("put row ")
                                     .append(std::to_string(Index))
                                     .append(": got ")
                                     .append(V)
                                     .append(", expected ")
                                     .append(Expected));
  }
  return 0;
}
