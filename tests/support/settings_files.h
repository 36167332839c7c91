#pragma once
// What the settings suites compare: init.xml files, and the macro store as text.

#include <string>

#include <QByteArray>

#include "macros/macro.h"

// The macros stored, as "F1=look|score F12=" (F12 holding no lines).
inline std::string StoredMacros(const Macro& store)
{
    std::string out;
    for (int key = Macro::kFirstKey; key <= Macro::kLastKey; ++key)
        if (const MacroRec* macro = store.Record(key)) {
            out += std::string(out.empty() ? "" : " ") + "F" + std::to_string(key) + "=";
            for (std::size_t i = 0; i < macro->Lines().size(); ++i)
                out += (i ? "|" : "") + macro->Lines()[i];
        }
    return out;
}

// As written from the window's start values.
inline const QByteArray kDefaultSettingsFile
    = "<?xml version=\"1.0\"?>\n\n<init-file>\n\n"
      "   <size width='992' height='701'/>\n   <buffer size='200'/>\n   <input-window height='55'/>\n"
      "   <colour bkg='-2147483643'/>\n   <stats-panel visible='true'/>\n   <audio-alert enabled='false'/>\n"
      "   <twinkles enabled='true'/>\n   <sound-fx enabled='true'/>\n\n"
      "   <font name='Arial' colour='0' height='-15' size='0'/>\n</init-file>\n";

// Every element the writer produces, none at its default, and text to escape.
inline const QByteArray kFullSettingsFile
    = "<?xml version=\"1.0\"?>\n\n<init-file>\n\n"
      "   <size width='1200' height='800'/>\n   <buffer size='500'/>\n   <input-window height='90'/>\n"
      "   <colour bkg='8421376'/>\n   <stats-panel visible='false'/>\n   <audio-alert enabled='true'/>\n"
      "   <twinkles enabled='false'/>\n   <sound-fx enabled='false'/>\n\t<voting time='1700000000'/>\n"
      "   <no-blank-lines/>\n   <autolog logging='true'/>\n\n"
      "   <friends-list ranks='5' audio='true'>\n      <friend name='Alice'/>\n"
      "      <friend name='O&apos;neil'/>\n   </friends-list>\n\n"
      "   <macro key='1'>\n      <command>look</command>\n"
      "      <command>say hi &amp; bye &lt;grin&gt; it&apos;s me</command>\n   </macro>\n\n"
      "   <macro key='12'>\n   </macro>\n\n"
      "   <font name='DejaVu Sans Mono' colour='255' height='-13' size='10'/>\n"
      "   <avatar name='Zed&apos;s'>\n      <server host='kyrn.example.org' port='30003'/>\n"
      "      <account id='zed01' password='it&apos;s&amp;me&lt;&gt;\"'/>\n   </avatar>\n\n"
      "   <avatar name='Ann'>\n      <server host='127.0.0.1' port='4000'/>\n"
      "      <account id='ann' current='true'/>\n   </avatar>\n\n"
      "</init-file>\n";
