<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ar" sourcelanguage="en_US">
<context>
    <name>SMSUIPlugin</name>
    <message>
        <source>IDS_STR_DRAFTSAVEFAILED</source>
        <translation>تعذّر حفظ المسودة. لا يزال النص في المحرر.</translation>
    </message>
    <message>
        <source>IDS_STR_SENDEMPTY</source>
        <translation>لا تحتوي هذه الرسالة على نص. هل تريد إرسالها على أي حال؟</translation>
    </message>
    <message>
        <source>IDS_STR_PICKREFUSED</source>
        <translation>لا يمكن لهذه الأرقام من دفتر العناوين استقبال الرسائل ولم تُضف:
%1</translation>
    </message>
    <message>
        <source>IDS_BTN_EDITOR_SEND</source>
        <translation>&amp;إرسال</translation>
    </message>
    <message>
        <source>IDS_BTN_EDITOR_SAVE</source>
        <translation>&amp;حفظ</translation>
    </message>
    <message>
        <source>IDS_BTN_EDITOR_CLOSE</source>
        <translation>إ&amp;غلاق</translation>
    </message>
    <message>
        <source>IDS_BTN_EDITOR_SENDTO</source>
        <translation>إرسال إ&amp;لى...</translation>
    </message>
</context>
</TS>
