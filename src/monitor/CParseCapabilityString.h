#pragma once
// Parses the MCCS capabilities string a monitor returns over DDC/CI and
// answers the monitor object's questions about it: which VCP codes
// (Orvane's paged codes included, as page * 256 + code) are supported,
// which values an enumerated code accepts, the MCCS and firmware versions,
// the asset storage size and where the programmable gamma tables lie.
//
// Tokens are found by plain substring search (the first occurrence counts);
// a token whose closing bracket is missing counts as absent, and tokens the
// parser does not know are ignored. The parsed data stays until the next
// ParseString or Clear.

#include <array>
#include <cstddef>
#include <string>
#include <vector>

class CParseCapabilityString {
public:
    static constexpr int kTextSize = 256;      // texts keep 255 characters
    static constexpr int kRowSize = 256;       // count, then the values
    static constexpr int kMaxRowValues = kRowSize - 1;
    static constexpr int kPageCount = 256;

    // One row of an enumerated-value table: [0] = count, then the values.
    using ValueRow = std::array<int, kRowSize>;

    CParseCapabilityString();
    ~CParseCapabilityString();

    // Clears, then parses a NUL-terminated string. 0 when "vcp(" was found
    // (parsed OK is then set), else -1; what other tokens gave stays.
    int ParseString(const char *text);
    // The same for a buffer that need not be terminated: the string ends at
    // the first NUL or after length bytes.
    int ParseString(const char *text, std::size_t length);
    int Clear();
    int ParsedOK() const { return m_ParsedOK; }

    // VCP codes; a paged code is asked for as page * 256 + code.
    int IsVCPSupported(int code) const;
    int IsVCPEnumerated(int code) const;
    int GetNumberOfEnumeratedValuesFound(int code) const;
    // Points values at the code's value row and returns its count; 0 (the
    // pointer untouched) when the code is not enumerated.
    int GetArrrayOfEnumeratedVCPValues(int code, const int **values) const;
    int ContainsEnumeratedVCPofValue(int code, int value) const;
    int GetNumberOfVCPsFound() const { return m_VCPCount; }
    int GetArrayOfVCPsFound(const int **codes) const;
    int GetNumberOfEnumeratedVCPsFound() const { return m_EnumeratedVCPCount; }
    int GetArrayOfEnumeratedVCPsFound(const int **codes) const;

    // Commands of "cmds_c2(".
    int GetNumberOfCommandsFound() const { return m_CommandCount; }
    int GetArrayOfCommandsFound(const int **codes) const;
    int GetArrayOfEnumeratedCommandsFound(const int **codes) const;
    // 1 when the command carries a value group.
    int IsCommandSupported(int command) const;
    int GetNumberOfEnumeratedVCPsForCommandFound(int command) const;
    int GetArrrayOfEnumeratedVCPsForCommandFound(int command, const int **values) const;
    int IsCommandAndVCPSupported(int command, int value) const;

    // Scanning helpers.
    // 1 and the token's value (the text between its bracket and the
    // matching closing one), or 0.
    static int FindToken(const char *token, const char *text, std::string *value);
    // Index of the first ")" at nesting depth 0, or -1.
    static int findMatchingBracket(const char *text);
    // Scans a code list: stores its codes (page * 256 + code) and, for each
    // value group, its owning code; returns the number of codes. Any output
    // may be null.
    static int search_vcps(const char *list, std::vector<int> *codes, int *groupCount,
                           std::vector<int> *groupCodes);
    // Collects the values of every group owned by code (page * 256 + code)
    // into values, at most kMaxRowValues of them; returns their number.
    static int search_enum_vcps(const char *list, int code, int *values);

    // Plain results of the last parse.
    int m_EnumeratedVCPCount;
    int m_CommandCount;
    int m_EnumeratedCommandCount;
    int m_EnumeratedCommandCountSecondPass; // kept by Clear
    int m_VCPCount;
    int m_DisplayType; // 0 not given or other, 1 CRT, 2 LCD
    int m_AssetStorageSize;
    int m_ColorTemperatureOffset;
    char m_TypeText[kTextSize];
    char m_MCCSVersionText[kTextSize];
    char m_MPUVersionText[kTextSize]; // the monitor's firmware version
    int m_GammaTablePresent;
    int m_GammaTableSize;
    int m_GammaTableRedOffset;
    int m_GammaTableGreenOffset;
    int m_GammaTableBlueOffset;

private:
    struct CodeList {
        std::vector<int> codes;
        std::vector<int> enumerated;
        std::vector<ValueRow> rows;
    };
    // Codes, enumerated codes and their rows of one list, each code plus
    // offset; an empty result when the list holds no codes.
    static CodeList parseCodeList(const std::string &list, int offset);
    static void append(CodeList &to, const CodeList &from);
    static const ValueRow *findRow(const std::vector<int> &codes,
                                   const std::vector<ValueRow> &rows, int code);
    // The value row of an enumerated code of list: its count, with values
    // pointed at the values; 0 (values untouched) when code is not there.
    static int rowValues(const CodeList &list, int code, const int **values);
    int parse(const std::string &text);

    int m_ParsedOK;
    CodeList m_VCP;
    CodeList m_Commands;
};
