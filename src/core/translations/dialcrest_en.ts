<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>dialcrest</name>
    <message>
        <source>IDS_OK</source>
        <translation>OK</translation>
    </message>
</context>
</TS>
