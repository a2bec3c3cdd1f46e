<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>pagoro-book</name>
    <message numerus="yes">
        <source>packed %1 (%n bytes)</source>
        <translation>
            <numerusform>packed %1 (%n byte)</numerusform>
            <numerusform>packed %1 (%n bytes)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>packed %n more files (pagoro-book list %1 names them all)</source>
        <translation>
            <numerusform>packed %n more file (pagoro-book list %1 names them all)</numerusform>
            <numerusform>packed %n more files (pagoro-book list %1 names them all)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>wrote %1: %n files, format %2, movie %3, %4</source>
        <translation>
            <numerusform>wrote %1: %n file, format %2, movie %3, %4</numerusform>
            <numerusform>wrote %1: %n files, format %2, movie %3, %4</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 takes %n arguments</source>
        <translation>
            <numerusform>%1 takes %n argument</numerusform>
            <numerusform>%1 takes %n arguments</numerusform>
        </translation>
    </message>
</context>
</TS>
