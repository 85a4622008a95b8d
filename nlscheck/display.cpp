#include "display.h"

#include "codepage.h"

namespace {

const int kAnySub = -1;

struct LocaleUnixName {
    uint16_t primary;
    int sub;  // kAnySub: every sub-language not named before
    const char* unixName;  // null: none
};

// A Unix locale of each language that has an ANSI code page, by primary
// and sub-language as in the code page table, where glibc has one
// (nlscheck_codepage_wine checks Wine's code page of each). Wine maps
// "xx_YY" to the locale xx-YY, and the modifiers @latin, @cyrillic and
// @arabic to its script. Where Wine needs the script the name carries it,
// though glibc's locale of that name without it is in that script already
// (its az_AZ is Latin, its sr_RS Cyrillic).
const LocaleUnixName kUnixNames[] = {
    { 0x01, kAnySub, "ar_SA" },
    { 0x02, kAnySub, "bg_BG" },
    { 0x03, kAnySub, "ca_ES" },
    { 0x04, 0x01, "zh_TW" },
    { 0x04, 0x03, "zh_HK" },
    { 0x04, 0x05, "zh_HK" },  // Macao: glibc has none, Hong Kong has its code page
    { 0x04, 0x1F, "zh_TW" },
    { 0x04, 0x04, "zh_SG" },
    { 0x04, kAnySub, "zh_CN" },
    { 0x05, kAnySub, "cs_CZ" },
    { 0x06, kAnySub, "da_DK" },
    { 0x07, kAnySub, "de_DE" },
    { 0x08, kAnySub, "el_GR" },
    { 0x09, 0x13, nullptr },  // English (United Arab Emirates): Unicode only
    { 0x09, kAnySub, "en_US" },
    { 0x0A, kAnySub, "es_ES" },
    { 0x0B, kAnySub, "fi_FI" },
    { 0x0C, kAnySub, "fr_FR" },
    { 0x0D, kAnySub, "he_IL" },
    { 0x0E, kAnySub, "hu_HU" },
    { 0x0F, kAnySub, "is_IS" },
    { 0x10, kAnySub, "it_IT" },
    { 0x11, kAnySub, "ja_JP" },
    { 0x12, kAnySub, "ko_KR" },
    { 0x13, kAnySub, "nl_NL" },
    { 0x14, kAnySub, "nb_NO" },
    { 0x15, kAnySub, "pl_PL" },
    { 0x16, 0x02, "pt_PT" },
    { 0x16, kAnySub, "pt_BR" },
    { 0x18, kAnySub, "ro_RO" },
    { 0x19, kAnySub, "ru_RU" },
    { 0x1A, 0x02, "sr_RS@latin" },  // Serbian (Latin, Serbia and Montenegro)
    { 0x1A, 0x06, "sr_RS@latin" },  // Serbian (Latin, Bosnia)
    { 0x1A, 0x09, "sr_RS@latin" },
    { 0x1A, 0x0B, "sr_ME@latin" },
    { 0x1A, 0x1C, "sr_RS@latin" },
    { 0x1A, 0x03, "sr_RS@cyrillic" },  // Serbian (Cyrillic, Serbia and Montenegro)
    { 0x1A, 0x07, "sr_RS@cyrillic" },  // Serbian (Cyrillic, Bosnia)
    { 0x1A, 0x0A, "sr_RS@cyrillic" },
    { 0x1A, 0x0C, "sr_RS@cyrillic" },  // Montenegro: glibc's sr_ME is Latin
    { 0x1A, 0x1B, "sr_RS@cyrillic" },
    { 0x1A, 0x05, "bs_BA@latin" },
    { 0x1A, 0x1A, "bs_BA@latin" },
    { 0x1A, 0x08, nullptr },  // Bosnian (Cyrillic): glibc has none
    { 0x1A, 0x19, nullptr },
    { 0x1A, kAnySub, "hr_HR" },
    { 0x1B, kAnySub, "sk_SK" },
    { 0x1C, kAnySub, "sq_AL" },
    { 0x1D, kAnySub, "sv_SE" },
    { 0x1E, kAnySub, "th_TH" },
    { 0x1F, kAnySub, "tr_TR" },
    { 0x20, kAnySub, "ur_PK" },
    { 0x21, kAnySub, "id_ID" },
    { 0x22, kAnySub, "uk_UA" },
    { 0x23, kAnySub, "be_BY" },
    { 0x24, kAnySub, "sl_SI" },
    { 0x25, kAnySub, "et_EE" },
    { 0x26, kAnySub, "lv_LV" },
    { 0x27, kAnySub, "lt_LT" },
    { 0x28, kAnySub, "tg_TJ" },
    { 0x29, kAnySub, "fa_IR" },
    { 0x2A, kAnySub, "vi_VN" },
    { 0x2C, 0x02, nullptr },  // Azeri (Cyrillic): glibc has none
    { 0x2C, 0x1D, nullptr },
    { 0x2C, kAnySub, "az_AZ@latin" },
    { 0x2D, kAnySub, "eu_ES" },
    { 0x2E, 0x02, "dsb_DE" },
    { 0x2E, kAnySub, "hsb_DE" },
    { 0x2F, kAnySub, "mk_MK" },
    { 0x32, kAnySub, "tn_ZA" },
    { 0x34, kAnySub, "xh_ZA" },
    { 0x35, kAnySub, "zu_ZA" },
    { 0x36, kAnySub, "af_ZA" },
    { 0x38, kAnySub, "fo_FO" },
    { 0x3B, kAnySub, "se_NO" },
    { 0x3C, kAnySub, "ga_IE" },
    { 0x3E, kAnySub, "ms_MY" },
    { 0x40, kAnySub, "ky_KG" },
    { 0x41, kAnySub, "sw_KE" },
    { 0x42, kAnySub, "tk_TM" },
    { 0x43, 0x02, "uz_UZ@cyrillic" },
    { 0x43, 0x1E, "uz_UZ@cyrillic" },
    { 0x43, kAnySub, "uz_UZ@latin" },
    { 0x44, kAnySub, "tt_RU" },
    { 0x46, 0x02, "pa_PK@arabic" },
    { 0x46, 0x1F, "pa_PK@arabic" },
    { 0x50, 0x00, "mn_MN" },
    { 0x50, 0x01, "mn_MN" },
    { 0x50, 0x1E, "mn_MN" },
    { 0x52, kAnySub, "cy_GB" },
    { 0x56, kAnySub, "gl_ES" },
    { 0x5D, 0x00, "iu_CA@latin" },
    { 0x5D, 0x02, "iu_CA@latin" },
    { 0x5D, 0x1F, "iu_CA@latin" },
    { 0x62, kAnySub, "fy_NL" },
    { 0x64, kAnySub, "fil_PH" },
    { 0x67, kAnySub, "ff_SN" },
    { 0x68, kAnySub, "ha_NG" },
    { 0x6A, kAnySub, "yo_NG" },
    { 0x6B, kAnySub, "quz_PE" },
    { 0x6C, kAnySub, "nso_ZA" },
    { 0x6E, kAnySub, "lb_LU" },
    { 0x6F, kAnySub, "kl_GL" },
    { 0x70, kAnySub, "ig_NG" },
    { 0x7E, kAnySub, "br_FR" },
    { 0x80, kAnySub, "ug_CN" },
    { 0x82, kAnySub, "oc_FR" },
    { 0x85, kAnySub, "sah_RU" },
    { 0x87, kAnySub, "rw_RW" },
    { 0x88, kAnySub, "wo_SN" },
    { 0x91, kAnySub, "gd_GB" },
    { 0x92, kAnySub, "ckb_IQ" },
};

struct CodePageFont {
    unsigned codePage;
    const char* font;
};

// Liberation Sans has Latin, Greek and Cyrillic letters; Noto Sans
// Vietnamese; DejaVu Sans Hebrew and Arabic; TLWG's Loma Thai and Latin
// (Noto's Thai font has no Latin letters); WenQuanYi Micro Hei Chinese,
// Japanese and Korean.
const CodePageFont kFonts[] = {
    { 874, "Loma" },
    { 932, "WenQuanYi Micro Hei" },
    { 936, "WenQuanYi Micro Hei" },
    { 949, "WenQuanYi Micro Hei" },
    { 950, "WenQuanYi Micro Hei" },
    { 1250, "Liberation Sans" },
    { 1251, "Liberation Sans" },
    { 1252, "Liberation Sans" },
    { 1253, "Liberation Sans" },
    { 1254, "Liberation Sans" },
    { 1255, "DejaVu Sans" },
    { 1256, "DejaVu Sans" },
    { 1257, "Liberation Sans" },
    { 1258, "Noto Sans" },
};

}

const char* UnixLocaleOf(uint32_t locale)
{
    // A machine that names no UI language reads its files in 1252, the
    // code page of Wine's own default, the C locale.
    if (locale == 0)
        return "C";
    if (CodePageOfLocale(locale) == kNoCodePage)
        return nullptr;
    unsigned primary = locale & 0x3FF, sub = (locale >> 10) & 0x3F;
    for (const LocaleUnixName& entry : kUnixNames)
        if (entry.primary == primary && (entry.sub == kAnySub || entry.sub == static_cast<int>(sub)))
            return entry.unixName;
    return nullptr;
}

const char* FontOfCodePage(unsigned codePage)
{
    for (const CodePageFont& entry : kFonts)
        if (entry.codePage == codePage)
            return entry.font;
    return nullptr;
}
