#include "CParseCapabilityString.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads the page number of an in-list "pageN(" group whose "page" starts at
// i; returns the index after the number and its bracket. The number is read
// like "%i" (decimal, 0x hexadecimal or 0 octal); any number of digits is
// consumed, so a two-digit page does not leave its bracket behind to be
// taken for a value group. A page outside 0-255 leaves the page unchanged.
std::size_t readPageGroup(const char *list, std::size_t len, std::size_t i, int &page)
{
    const char *numberStart = list + i + 4;
    char *end = nullptr;
    const long number = std::strtol(numberStart, &end, 0);
    if (end == numberStart) // no number: step over "page" and two more
        return std::min(len, i + 6);
    if (number >= 0 && number < CParseCapabilityString::kPageCount)
        page = int(number);
    std::size_t next = std::size_t(end - list);
    if (next < len && list[next] == '(')
        ++next;
    return next;
}

// The tokenizer of a code list. Codes outside a value group are reported as
// page * 256 + code; a "(" opens the value group of the last code (code 0
// before any code); values inside a group belong to that code. Groups do
// not nest: the first ")" ends the group, a ")" outside a group ends a page
// group (whose page stays in force).
template <typename OnCode, typename OnGroup, typename OnValue>
void scanCodeList(const char *list, OnCode onCode, OnGroup onGroup, OnValue onValue)
{
    const std::size_t len = std::strlen(list);
    int page = 0;
    int lastCode = 0;
    bool inGroup = false;
    std::size_t i = 0;
    while (i < len) {
        const char c = list[i];
        if (c == ' ') {
            ++i;
        } else if (std::strncmp(list + i, "page", 4) == 0) {
            i = readPageGroup(list, len, i, page);
        } else if (c == '(') {
            if (!inGroup)
                onGroup(lastCode);
            inGroup = true;
            ++i;
        } else if (c == ')') {
            inGroup = false;
            ++i;
        } else {
            // Up to two hexadecimal digits; the scan moves past the digits
            // read, so a one-digit value does not swallow a closing bracket.
            int value = 0;
            std::size_t digits = 0;
            while (digits < 2 && i + digits < len && hexDigit(list[i + digits]) >= 0) {
                value = value * 16 + hexDigit(list[i + digits]);
                ++digits;
            }
            if (digits == 0) {
                ++i;
                continue;
            }
            if (inGroup) {
                onValue(lastCode, value);
            } else {
                lastCode = page * 256 + value;
                onCode(lastCode);
            }
            i += digits;
        }
    }
}

// "%X" of the token's value; 0 when it does not read.
int readHex(const std::string &value)
{
    unsigned int number = 0;
    if (std::sscanf(value.c_str(), "%X", &number) != 1)
        return 0;
    return int(number);
}

void copyText(char *dest, const std::string &value)
{
    std::snprintf(dest, CParseCapabilityString::kTextSize, "%s", value.c_str());
}

} // namespace

CParseCapabilityString::CParseCapabilityString()
    : m_EnumeratedCommandCountSecondPass(0)
{
    Clear();
}

CParseCapabilityString::~CParseCapabilityString() { Clear(); }

int CParseCapabilityString::Clear()
{
    m_VCP = CodeList();
    m_Commands = CodeList();
    m_EnumeratedVCPCount = 0;
    m_CommandCount = 0;
    m_EnumeratedCommandCount = 0;
    m_VCPCount = 0;
    m_DisplayType = 0;
    m_AssetStorageSize = 0;
    m_ColorTemperatureOffset = 0;
    std::memset(m_TypeText, 0, sizeof m_TypeText);
    std::memset(m_MCCSVersionText, 0, sizeof m_MCCSVersionText);
    std::memset(m_MPUVersionText, 0, sizeof m_MPUVersionText);
    m_GammaTablePresent = 0;
    m_GammaTableSize = 0;
    m_GammaTableRedOffset = 0;
    m_GammaTableGreenOffset = 0;
    m_GammaTableBlueOffset = 0;
    m_ParsedOK = 0;
    return 0;
}

int CParseCapabilityString::ParseString(const char *text)
{
    Clear();
    if (!text)
        return -1;
    return parse(std::string(text));
}

int CParseCapabilityString::ParseString(const char *text, std::size_t length)
{
    Clear();
    if (!text)
        return -1;
    const char *nul = static_cast<const char *>(std::memchr(text, '\0', length));
    return parse(std::string(text, nul ? std::size_t(nul - text) : length));
}

int CParseCapabilityString::parse(const std::string &text)
{
    const char *s = text.c_str();
    std::string value;
    int result = -1;

    if (FindToken("type(", s, &value)) {
        copyText(m_TypeText, value);
        if (value == "LCD" || value == "lcd")
            m_DisplayType = 2;
        else if (value == "CRT" || value == "CRT_AG" || value == "crt" || value == "crt_ag")
            m_DisplayType = 1;
    }

    if (FindToken("vcp(", s, &value)) {
        m_VCP = parseCodeList(value, 0);
        result = 0;
    }

    // Orvane's pages: vcp_p00( to vcp_pFF(, appended in page order.
    if (text.find("vcp_p") != std::string::npos) {
        for (int page = 0; page < kPageCount; ++page) {
            char token[16];
            std::snprintf(token, sizeof token, "vcp_p%02X(", page);
            if (FindToken(token, s, &value))
                append(m_VCP, parseCodeList(value, page * 256));
        }
    }

    if (FindToken("mccs_ver(", s, &value))
        copyText(m_MCCSVersionText, value);
    if (FindToken("mpu_ver(", s, &value))
        copyText(m_MPUVersionText, value);
    if (FindToken("c_tmp_ofst(", s, &value))
        m_ColorTemperatureOffset = readHex(value);
    if (FindToken("cmds_c2(", s, &value))
        m_Commands = parseCodeList(value, 0);

    if (FindToken("asset_eep(", s, &value)) {
        // Written in decimal by some firmware: 64 and 32 mean what they say.
        m_AssetStorageSize = readHex(value);
        if (m_AssetStorageSize == 0x64)
            m_AssetStorageSize = 64;
        else if (m_AssetStorageSize == 0x32)
            m_AssetStorageSize = 32;
    }

    if (FindToken("gamma_table(", s, &value)) {
        m_GammaTablePresent = 1;
        unsigned int size = 0, red = 0, green = 0, blue = 0;
        std::sscanf(value.c_str(), "size(%X) r_ofs(%X) g_ofs(%X) b_ofs(%X)", &size, &red, &green,
                    &blue);
        m_GammaTableSize = int(size);
        m_GammaTableRedOffset = int(red);
        m_GammaTableGreenOffset = int(green);
        m_GammaTableBlueOffset = int(blue);
    }

    m_VCPCount = int(m_VCP.codes.size());
    m_EnumeratedVCPCount = int(m_VCP.enumerated.size());
    m_CommandCount = int(m_Commands.codes.size());
    m_EnumeratedCommandCount = int(m_Commands.enumerated.size());
    m_EnumeratedCommandCountSecondPass = m_EnumeratedCommandCount;
    m_ParsedOK = result == 0 ? 1 : 0;
    return result;
}

CParseCapabilityString::CodeList CParseCapabilityString::parseCodeList(const std::string &list,
                                                                       int offset)
{
    CodeList out;
    std::vector<int> codes;
    std::vector<int> groups;
    int groupCount = 0;
    if (search_vcps(list.c_str(), &codes, &groupCount, &groups) == 0)
        return out;
    for (int code : codes)
        out.codes.push_back(code + offset);
    for (int owner : groups) {
        ValueRow row{};
        row[0] = search_enum_vcps(list.c_str(), owner, row.data() + 1);
        out.enumerated.push_back(owner + offset);
        out.rows.push_back(row);
    }
    return out;
}

void CParseCapabilityString::append(CodeList &to, const CodeList &from)
{
    to.codes.insert(to.codes.end(), from.codes.begin(), from.codes.end());
    to.enumerated.insert(to.enumerated.end(), from.enumerated.begin(), from.enumerated.end());
    to.rows.insert(to.rows.end(), from.rows.begin(), from.rows.end());
}

int CParseCapabilityString::FindToken(const char *token, const char *text, std::string *value)
{
    if (!token || !text)
        return 0;
    const char *found = std::strstr(text, token);
    if (!found)
        return 0;
    const char *start = found + std::strlen(token);
    const int close = findMatchingBracket(start);
    if (close < 0)
        return 0;
    if (value)
        value->assign(start, std::size_t(close));
    return 1;
}

int CParseCapabilityString::findMatchingBracket(const char *text)
{
    long depth = 0;
    for (int i = 0; text[i] != '\0'; ++i) {
        if (text[i] == '(') {
            ++depth;
        } else if (text[i] == ')') {
            if (depth == 0)
                return i;
            --depth;
        }
    }
    return -1;
}

int CParseCapabilityString::search_vcps(const char *list, std::vector<int> *codes,
                                        int *groupCount, std::vector<int> *groupCodes)
{
    int codeCount = 0;
    int groups = 0;
    if (codes)
        codes->clear();
    if (groupCodes)
        groupCodes->clear();
    scanCodeList(
        list,
        [&](int code) {
            ++codeCount;
            if (codes)
                codes->push_back(code);
        },
        [&](int owner) {
            ++groups;
            if (groupCodes)
                groupCodes->push_back(owner);
        },
        [](int, int) {});
    if (groupCount)
        *groupCount = groups;
    return codeCount;
}

int CParseCapabilityString::search_enum_vcps(const char *list, int code, int *values)
{
    int count = 0;
    scanCodeList(
        list, [](int) {}, [](int) {},
        [&](int owner, int value) {
            if (owner == code && count < kMaxRowValues)
                values[count++] = value;
        });
    return count;
}

const CParseCapabilityString::ValueRow *
CParseCapabilityString::findRow(const std::vector<int> &codes, const std::vector<ValueRow> &rows,
                                int code)
{
    const auto it = std::find(codes.begin(), codes.end(), code);
    return it == codes.end() ? nullptr : &rows[std::size_t(it - codes.begin())];
}

int CParseCapabilityString::IsVCPSupported(int code) const
{
    return std::find(m_VCP.codes.begin(), m_VCP.codes.end(), code) != m_VCP.codes.end() ? 1 : 0;
}

int CParseCapabilityString::IsVCPEnumerated(int code) const
{
    return findRow(m_VCP.enumerated, m_VCP.rows, code) ? 1 : 0;
}

int CParseCapabilityString::rowValues(const CodeList &list, int code, const int **values)
{
    const ValueRow *row = findRow(list.enumerated, list.rows, code);
    if (!row)
        return 0;
    if (values)
        *values = row->data() + 1;
    return (*row)[0];
}

int CParseCapabilityString::GetNumberOfEnumeratedValuesFound(int code) const
{
    return rowValues(m_VCP, code, nullptr);
}

int CParseCapabilityString::GetArrrayOfEnumeratedVCPValues(int code, const int **values) const
{
    return rowValues(m_VCP, code, values);
}

int CParseCapabilityString::ContainsEnumeratedVCPofValue(int code, int value) const
{
    const int *first = nullptr;
    const int count = rowValues(m_VCP, code, &first);
    return count > 0 && std::find(first, first + count, value) != first + count ? 1 : 0;
}

namespace {
int exposeList(const std::vector<int> &list, int count, const int **codes)
{
    if (codes)
        *codes = list.data();
    return count;
}
} // namespace

int CParseCapabilityString::GetArrayOfVCPsFound(const int **codes) const
{
    return exposeList(m_VCP.codes, m_VCPCount, codes);
}

int CParseCapabilityString::GetArrayOfEnumeratedVCPsFound(const int **codes) const
{
    return exposeList(m_VCP.enumerated, m_EnumeratedVCPCount, codes);
}

int CParseCapabilityString::GetArrayOfCommandsFound(const int **codes) const
{
    return exposeList(m_Commands.codes, m_CommandCount, codes);
}

int CParseCapabilityString::GetArrayOfEnumeratedCommandsFound(const int **codes) const
{
    return exposeList(m_Commands.enumerated, m_EnumeratedCommandCount, codes);
}

int CParseCapabilityString::IsCommandSupported(int command) const
{
    return findRow(m_Commands.enumerated, m_Commands.rows, command) ? 1 : 0;
}

int CParseCapabilityString::GetNumberOfEnumeratedVCPsForCommandFound(int command) const
{
    return rowValues(m_Commands, command, nullptr);
}

int CParseCapabilityString::GetArrrayOfEnumeratedVCPsForCommandFound(int command,
                                                                     const int **values) const
{
    return rowValues(m_Commands, command, values);
}

int CParseCapabilityString::IsCommandAndVCPSupported(int command, int value) const
{
    for (std::size_t i = 0; i < m_Commands.enumerated.size(); ++i) {
        if (m_Commands.enumerated[i] != command)
            continue;
        const ValueRow &row = m_Commands.rows[i];
        const int *first = row.data() + 1;
        if (std::find(first, first + row[0], value) != first + row[0])
            return 1;
    }
    return 0;
}
