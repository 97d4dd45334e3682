<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>VelaWidget</name>
    <message>
        <source>LS.VelaWidget.retry</source>
        <translation>Nochmal laden</translation>
    </message>
</context>
</TS>
