#include "core/experiment/ExperimentDoc.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <memory>
#include <utility>

#include "core/experiment/Summary.h"

namespace mardo {

namespace {

// A JSON value as far as the documents need it.
struct SJson {
    enum class EType { kNull, kBool, kInt, kDouble, kString, kArray, kObject } eType = EType::kNull;
    bool b = false;
    std::int64_t n = 0;
    double d = 0.0;
    std::string str;
    // An array's values; an object's values, in order, named by the keys beside them (a vector
    // of pairs would hold this type before it is complete).
    std::vector<SJson> items;
    std::vector<std::string> keys;

    const SJson* Find(const std::string& strKey) const {
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (keys[i] == strKey) {
                return &items[i];
            }
        }
        return nullptr;
    }
};

class CJsonReader {
public:
    explicit CJsonReader(const std::string& strText) : m_strText(strText) {}

    std::optional<SJson> ReadDocument() {
        std::optional<SJson> value = ReadValue(0);
        SkipSpace();
        if (m_nAt != m_strText.size()) {
            return std::nullopt;
        }
        return value;
    }

private:
    static constexpr int kDeepest = 64;

    void SkipSpace() {
        while (m_nAt < m_strText.size() && std::string_view(" \t\r\n").find(m_strText[m_nAt]) !=
                                               std::string_view::npos) {
            ++m_nAt;
        }
    }
    bool Take(char ch) {
        SkipSpace();
        if (m_nAt < m_strText.size() && m_strText[m_nAt] == ch) {
            ++m_nAt;
            return true;
        }
        return false;
    }
    bool TakeWord(std::string_view word) {
        if (m_strText.compare(m_nAt, word.size(), word) == 0) {
            m_nAt += word.size();
            return true;
        }
        return false;
    }

    std::optional<std::string> ReadString() {
        if (!Take('"')) {
            return std::nullopt;
        }
        std::string str;
        while (m_nAt < m_strText.size()) {
            const char ch = m_strText[m_nAt++];
            if (ch == '"') {
                return str;
            }
            if (ch != '\\') {
                str += ch;
                continue;
            }
            if (m_nAt >= m_strText.size()) {
                break;
            }
            const char chEscaped = m_strText[m_nAt++];
            if (chEscaped == 'u') {
                // Only control characters are written this way.
                unsigned nCode = 0;
                const auto [pEnd, error] = std::from_chars(
                    m_strText.data() + m_nAt,
                    m_strText.data() + std::min(m_strText.size(), m_nAt + 4), nCode, 16);
                if (error != std::errc() || pEnd != m_strText.data() + m_nAt + 4 || nCode > 0x7F) {
                    return std::nullopt;
                }
                m_nAt += 4;
                str += static_cast<char>(nCode);
                continue;
            }
            const std::string_view from = "\"\\/nrtbf";
            const std::string_view to = "\"\\/\n\r\t\b\f";
            const std::size_t nWhich = from.find(chEscaped);
            if (nWhich == std::string_view::npos) {
                return std::nullopt;
            }
            str += to[nWhich];
        }
        return std::nullopt;
    }

    std::optional<SJson> ReadNumber() {
        const std::size_t nStart = m_nAt;
        while (m_nAt < m_strText.size() &&
               std::string_view("+-0123456789.eE").find(m_strText[m_nAt]) !=
                   std::string_view::npos) {
            ++m_nAt;
        }
        const std::string_view text(m_strText.data() + nStart, m_nAt - nStart);
        SJson value;
        const char* pEnd = text.data() + text.size();
        std::from_chars_result result{};
        if (text.find_first_of(".eE") == std::string_view::npos) {
            value.eType = SJson::EType::kInt;
            result = std::from_chars(text.data(), pEnd, value.n);
        } else {
            value.eType = SJson::EType::kDouble;
            result = std::from_chars(text.data(), pEnd, value.d);
        }
        if (text.empty() || result.ec != std::errc() || result.ptr != pEnd) {
            return std::nullopt;
        }
        return value;
    }

    std::optional<SJson> ReadValue(int nDepth) {
        SkipSpace();
        if (nDepth > kDeepest || m_nAt >= m_strText.size()) {
            return std::nullopt;
        }
        SJson value;
        const char ch = m_strText[m_nAt];
        if (ch == '{' || ch == '[') {
            ++m_nAt;
            const bool bObject = ch == '{';
            value.eType = bObject ? SJson::EType::kObject : SJson::EType::kArray;
            if (Take(bObject ? '}' : ']')) {
                return value;
            }
            do {
                std::string strKey;
                if (bObject) {
                    std::optional<std::string> key = ReadString();
                    if (!key || !Take(':')) {
                        return std::nullopt;
                    }
                    strKey = std::move(*key);
                }
                std::optional<SJson> item = ReadValue(nDepth + 1);
                if (!item) {
                    return std::nullopt;
                }
                if (bObject) {
                    value.keys.push_back(std::move(strKey));
                }
                value.items.push_back(std::move(*item));
            } while (Take(','));
            if (!Take(bObject ? '}' : ']')) {
                return std::nullopt;
            }
        } else if (ch == '"') {
            std::optional<std::string> str = ReadString();
            if (!str) {
                return std::nullopt;
            }
            value.eType = SJson::EType::kString;
            value.str = std::move(*str);
        } else if (TakeWord("true") || TakeWord("false")) {
            value.eType = SJson::EType::kBool;
            value.b = ch == 't';
        } else if (!TakeWord("null")) {
            return ReadNumber();
        }
        return value;
    }

    const std::string& m_strText;
    std::size_t m_nAt = 0;
};

// The reading of one document; every Need* throws this when the document lacks what it needs.
struct SBadDocument {
    std::string strWhat;
};

const SJson& Need(const SJson& object, const char* pszKey, SJson::EType eType) {
    const SJson* pValue = object.eType == SJson::EType::kObject ? object.Find(pszKey) : nullptr;
    if (pValue == nullptr || pValue->eType != eType) {
        throw SBadDocument{std::string("no valid \"") + pszKey + "\""};
    }
    return *pValue;
}

std::int64_t NeedInt(const SJson& object, const char* pszKey, std::int64_t nMin, std::int64_t nMax) {
    const std::int64_t n = Need(object, pszKey, SJson::EType::kInt).n;
    if (n < nMin || n > nMax) {
        throw SBadDocument{std::string("\"") + pszKey + "\" out of range"};
    }
    return n;
}

SFigure ToFigure(const SJson& value) {
    switch (value.eType) {
        case SJson::EType::kBool:
            return value.b;
        case SJson::EType::kInt:
            return value.n;
        case SJson::EType::kDouble:
            return value.d;
        case SJson::EType::kString:
            return value.str;
        default:
            throw SBadDocument{"a figure that is not a number, a state or a text"};
    }
}

SReplication ReadReplication(const SJson& object) {
    SReplication replication;
    replication.nIndex = static_cast<std::int32_t>(NeedInt(object, keys::kIndex, 0, INT32_MAX));
    replication.nSeed = static_cast<std::uint32_t>(NeedInt(object, keys::kSeed, 0, UINT32_MAX));
    replication.nDraws = static_cast<std::uint32_t>(NeedInt(object, keys::kDraws, 0, UINT32_MAX));
    replication.nModelTime =
        static_cast<std::uint32_t>(NeedInt(object, keys::kModelTime, 0, UINT32_MAX));
    replication.nDeparted =
        static_cast<std::uint32_t>(NeedInt(object, keys::kDeparted, 0, UINT32_MAX));
    replication.tables = ReportFigures(nullptr);
    for (SFigureTable& table : replication.tables) {
        for (const SJson& row : Need(object, table.strKey.c_str(), SJson::EType::kArray).items) {
            std::vector<SFigure>& figures = table.rows.emplace_back();
            for (const std::string& strColumn : table.columns) {
                const SJson* pCell = row.Find(strColumn);
                if (pCell == nullptr) {
                    throw SBadDocument{"a row of \"" + table.strKey + "\" without \"" +
                                       strColumn + "\""};
                }
                figures.push_back(ToFigure(*pCell));
            }
        }
    }
    return replication;
}

std::vector<SReplication> ReadReplications(const SJson& object) {
    std::vector<SReplication> replications;
    for (const SJson& item : Need(object, keys::kReplications, SJson::EType::kArray).items) {
        replications.push_back(ReadReplication(item));
    }
    return replications;
}

std::string PointKey(const std::vector<SSetting>& settings) {
    std::string strKey;
    for (const SSetting& setting : settings) {
        strKey += setting.strTarget + '=' + setting.strValue + '\n';
    }
    return strKey;
}

}  // namespace

std::optional<SExperimentRecord> ReadExperimentDoc(const std::string& strText,
                                                   std::string& strError) {
    const std::optional<SJson> root = CJsonReader(strText).ReadDocument();
    if (!root || root->eType != SJson::EType::kObject) {
        strError = "not a JSON document";
        return std::nullopt;
    }
    try {
        SExperimentRecord record;
        record.strModel = Need(*root, keys::kModel, SJson::EType::kString).str;
        record.nSeed = static_cast<std::uint32_t>(NeedInt(*root, keys::kSeed, 0, UINT32_MAX));
        if (const SJson* pGenerator = root->Find(keys::kGenerator)) {
            const std::optional<EGenerator> generator =
                pGenerator->eType == SJson::EType::kString ? ParseGenerator(pGenerator->str)
                                                           : std::nullopt;
            if (!generator) {
                throw SBadDocument{"\"generator\" is neither \"exact\" nor \"streams\""};
            }
            record.generator = *generator;
        }
        record.nReplicationCount =
            static_cast<std::int32_t>(NeedInt(*root, keys::kReplicationCount, 1, INT32_MAX));
        record.nWarmup = static_cast<std::uint32_t>(NeedInt(*root, keys::kWarmup, 0, UINT32_MAX));
        record.bSwept = root->Find(keys::kPoints) != nullptr;
        if (!record.bSwept) {
            record.points.push_back({{}, ReadReplications(*root)});
        } else {
            for (const SJson& item : Need(*root, keys::kPoints, SJson::EType::kArray).items) {
                SPointRecord& point = record.points.emplace_back();
                const SJson& set = Need(item, keys::kSet, SJson::EType::kObject);
                for (std::size_t i = 0; i < set.keys.size(); ++i) {
                    if (set.items[i].eType != SJson::EType::kString) {
                        throw SBadDocument{"a setting that is not a text"};
                    }
                    point.settings.push_back({set.keys[i], set.items[i].str});
                }
                point.replications = ReadReplications(item);
            }
        }
        for (const SPointRecord& point : record.points) {
            for (const SReplication& replication : point.replications) {
                if (replication.nIndex >= record.nReplicationCount) {
                    throw SBadDocument{"a replication beyond \"replicationCount\""};
                }
            }
        }
        return record;
    } catch (const SBadDocument& bad) {
        strError = bad.strWhat;
        return std::nullopt;
    }
}

std::optional<SExperimentRecord> MergeExperimentDocs(const std::vector<SExperimentRecord>& docs,
                                                     std::string& strError) {
    if (docs.empty()) {
        strError = "no documents";
        return std::nullopt;
    }
    SExperimentRecord merged = docs[0];
    for (SPointRecord& point : merged.points) {
        point.replications.clear();
    }
    std::map<std::string, std::size_t> pointOf;
    for (std::size_t p = 0; p < merged.points.size(); ++p) {
        pointOf.emplace(PointKey(merged.points[p].settings), p);
    }
    for (const SExperimentRecord& doc : docs) {
        if (doc.generator != merged.generator) {
            strError = "the documents were made by different generators (exact and streams)";
            return std::nullopt;
        }
        if (doc.strModel != merged.strModel || doc.nSeed != merged.nSeed ||
            doc.nReplicationCount != merged.nReplicationCount || doc.nWarmup != merged.nWarmup ||
            doc.bSwept != merged.bSwept || doc.points.size() != merged.points.size()) {
            strError = "the documents come from different experiments (model, seed, "
                       "replicationCount, warmup or points differ)";
            return std::nullopt;
        }
        for (const SPointRecord& point : doc.points) {
            const auto it = pointOf.find(PointKey(point.settings));
            if (it == pointOf.end()) {
                strError = "the documents come from different experiments (points differ)";
                return std::nullopt;
            }
            std::vector<SReplication>& replications = merged.points[it->second].replications;
            replications.insert(replications.end(), point.replications.begin(),
                                point.replications.end());
        }
    }
    for (SPointRecord& point : merged.points) {
        std::vector<SReplication>& replications = point.replications;
        std::stable_sort(replications.begin(), replications.end(),
                         [](const SReplication& a, const SReplication& b) {
                             return a.nIndex < b.nIndex;
                         });
        const auto twice = std::adjacent_find(replications.begin(), replications.end(),
                                              [](const SReplication& a, const SReplication& b) {
                                                  return a.nIndex == b.nIndex;
                                              });
        if (twice != replications.end()) {
            strError = "replication " + std::to_string(twice->nIndex) + " is given twice";
            return std::nullopt;
        }
        if (!Summarize(replications, 0)) {
            strError = "the replications' tables differ (not one model)";
            return std::nullopt;
        }
    }
    return merged;
}

}  // namespace mardo
