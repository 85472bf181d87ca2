<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="en_US">
<context>
    <name>SMSUIPlugin</name>
    <message>
        <source>IDS_STR_DRAFTSAVEFAILED</source>
        <translation>The draft could not be saved. Your text is still in the editor.</translation>
    </message>
    <message>
        <source>IDS_STR_SENDEMPTY</source>
        <translation>This message has no text. Send it anyway?</translation>
    </message>
    <message>
        <source>IDS_STR_PICKREFUSED</source>
        <translation>These numbers from the address book cannot receive messages and were not added:
%1</translation>
    </message>
    <message>
        <source>IDS_BTN_EDITOR_SEND</source>
        <translation>&amp;Send</translation>
    </message>
    <message>
        <source>IDS_BTN_EDITOR_SAVE</source>
        <translation>S&amp;ave</translation>
    </message>
    <message>
        <source>IDS_BTN_EDITOR_CLOSE</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>IDS_BTN_EDITOR_SENDTO</source>
        <translation>Send &amp;to...</translation>
    </message>
</context>
</TS>
