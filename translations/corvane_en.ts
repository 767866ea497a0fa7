<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>Corvane</name>
    <message>
        <source>Please select online data type !
</source>
        <translation>Please select online data type !
</translation>
    </message>
    <message>
        <source>0x10000000 &gt; ADDR &gt;= 0x100000, please check!</source>
        <translation>0x10000000 &gt; ADDR &gt;= 0x100000, please check!</translation>
    </message>
    <message>
        <source>0x20000000 &gt; ADDR, please check!</source>
        <translation>0x20000000 &gt; ADDR, please check!</translation>
    </message>
    <message>
        <source>0xE0000000 &gt; ADDR &gt;= 0x62000000, please check!</source>
        <translation>0xE0000000 &gt; ADDR &gt;= 0x62000000, please check!</translation>
    </message>
    <message>
        <source>0xE0000000 &gt; ADDR &gt;= 0x64000000, please check!</source>
        <translation>0xE0000000 &gt; ADDR &gt;= 0x64000000, please check!</translation>
    </message>
    <message>
        <source>transfer reaches 0x%08x: %s</source>
        <translation>transfer reaches 0x%08x: %s</translation>
    </message>
    <message>
        <source>%s is held by another writer, not written !
</source>
        <translation>%s is held by another writer, not written !
</translation>
    </message>
    <message>
        <source>%s cannot be read, not written !
</source>
        <translation>%s cannot be read, not written !
</translation>
    </message>
    <message>
        <source>%s is not UTF-8 text, not written !
</source>
        <translation>%s is not UTF-8 text, not written !
</translation>
    </message>
    <message>
        <source>%s: its folder takes no new file, not written !
</source>
        <translation>%s: its folder takes no new file, not written !
</translation>
    </message>
    <message>
        <source>%s write error, not written !
</source>
        <translation>%s write error, not written !
</translation>
    </message>
    <message>
        <source>%s cannot hold [%s] %s with this text, not written !
</source>
        <translation>%s cannot hold [%s] %s with this text, not written !
</translation>
    </message>
    <message>
        <source>Please copy libjlinkarm.so file from the path of the JLink(SEGGER) software to the path of this tool!</source>
        <translation>Please copy libjlinkarm.so file from the path of the JLink(SEGGER) software to the path of this tool!</translation>
    </message>
    <message>
        <source>jlink_EMU_SelectByUSBSN error
</source>
        <translation>jlink_EMU_SelectByUSBSN error
</translation>
    </message>
    <message>
        <source>jlink_IsOpen error
</source>
        <translation>jlink_IsOpen error
</translation>
    </message>
    <message>
        <source>jlink_EMU_IsConnected error
</source>
        <translation>jlink_EMU_IsConnected error
</translation>
    </message>
    <message>
        <source>jlink_Connect error
</source>
        <translation>jlink_Connect error
</translation>
    </message>
    <message>
        <source>link_Connect error
</source>
        <translation>link_Connect error
</translation>
    </message>
    <message>
        <source>jlink_ReadMemEx 0x%08x 0x%x error !
</source>
        <translation>jlink_ReadMemEx 0x%08x 0x%x error !
</translation>
    </message>
    <message>
        <source>jlink_WriteMemEx 0x%08x 0x%x error !
</source>
        <translation>jlink_WriteMemEx 0x%08x 0x%x error !
</translation>
    </message>
    <message>
        <source>jlink_ReadMemEx 0x%08x 4 error !
</source>
        <translation>jlink_ReadMemEx 0x%08x 4 error !
</translation>
    </message>
    <message>
        <source>jlink_WriteMemEx 0x%08x 4 error !
</source>
        <translation>jlink_WriteMemEx 0x%08x 4 error !
</translation>
    </message>
    <message>
        <source>%s not support uart debug !</source>
        <translation>%s not support uart debug !</translation>
    </message>
    <message>
        <source>%s not support uart debug !
</source>
        <translation>%s not support uart debug !
</translation>
    </message>
    <message>
        <source>uart open error !
</source>
        <translation>uart open error !
</translation>
    </message>
    <message>
        <source>EnterDebugMode error !
</source>
        <translation>EnterDebugMode error !
</translation>
    </message>
    <message>
        <source>ReadMem 0x%08x 0x%x error !
</source>
        <translation>ReadMem 0x%08x 0x%x error !
</translation>
    </message>
    <message>
        <source>WriteMem 0x%08x 0x%x error !
</source>
        <translation>WriteMem 0x%08x 0x%x error !
</translation>
    </message>
    <message>
        <source>ReadMem 0x%08x 4 error !</source>
        <translation>ReadMem 0x%08x 4 error !</translation>
    </message>
    <message>
        <source>WriteMem 0x%08x 4 error !
</source>
        <translation>WriteMem 0x%08x 4 error !
</translation>
    </message>
    <message>
        <source>gdb connect %s error !
</source>
        <translation>gdb connect %s error !
</translation>
    </message>
    <message>
        <source>gdb_ReadMem 0x%08x 0x%x error !
</source>
        <translation>gdb_ReadMem 0x%08x 0x%x error !
</translation>
    </message>
    <message>
        <source>gdb_WriteMem 0x%08x 0x%x error !
</source>
        <translation>gdb_WriteMem 0x%08x 0x%x error !
</translation>
    </message>
    <message>
        <source>gdb_ReadMem 0x%08x 4 error !
</source>
        <translation>gdb_ReadMem 0x%08x 4 error !
</translation>
    </message>
    <message>
        <source>gdb_WriteMem 0x%08x 4 error !
</source>
        <translation>gdb_WriteMem 0x%08x 4 error !
</translation>
    </message>
    <message>
        <source>gdb read of core register %s error !
</source>
        <translation>gdb read of core register %s error !
</translation>
    </message>
    <message>
        <source>gdb write of core register %s error !
</source>
        <translation>gdb write of core register %s error !
</translation>
    </message>
    <message>
        <source>core register %s: S_REGRDY not set within %d ms !
</source>
        <translation>core register %s: S_REGRDY not set within %d ms !
</translation>
    </message>
    <message>
        <source>not host:port</source>
        <translation>not host:port</translation>
    </message>
    <message>
        <source>no reply within %d ms</source>
        <translation>no reply within %d ms</translation>
    </message>
    <message>
        <source>closed by the server</source>
        <translation>closed by the server</translation>
    </message>
    <message>
        <source>the server kept sending without the reply</source>
        <translation>the server kept sending without the reply</translation>
    </message>
    <message>
        <source>a garbled reply</source>
        <translation>a garbled reply</translation>
    </message>
    <message>
        <source>the server took no resend of the packet</source>
        <translation>the server took no resend of the packet</translation>
    </message>
    <message>
        <source>the server answered &quot;%s&quot;</source>
        <translation>the server answered &quot;%s&quot;</translation>
    </message>
    <message>
        <source>not a terminal</source>
        <translation>not a terminal</translation>
    </message>
    <message>
        <source>the port hung up</source>
        <translation>the port hung up</translation>
    </message>
    <message>
        <source>选择/输入 保存的文件</source>
        <translation>Choose or type the file to save</translation>
    </message>
    <message>
        <source>选择 写入芯片的文件</source>
        <translation>Choose the file to write to the chip</translation>
    </message>
    <message>
        <source>Binary Files(*.bin)</source>
        <translation>Binary Files(*.bin)</translation>
    </message>
    <message>
        <source>All Files(*)</source>
        <translation>All Files(*)</translation>
    </message>
    <message>
        <source>ADDR shold 4 Bytes align, please check!</source>
        <translation>ADDR shold 4 Bytes align, please check!</translation>
    </message>
    <message>
        <source>no file select, please check!</source>
        <translation>no file select, please check!</translation>
    </message>
    <message>
        <source>LENGTH == 0, please check!</source>
        <translation>LENGTH == 0, please check!</translation>
    </message>
    <message>
        <source>no data to write, please check!</source>
        <translation>no data to write, please check!</translation>
    </message>
    <message>
        <source>input file too large for ADDR, please check!</source>
        <translation>input file too large for ADDR, please check!</translation>
    </message>
    <message>
        <source>LENGTH over 1024 Bytes, data show too long, use 1024 Bytes!</source>
        <translation>LENGTH over 1024 Bytes, data show too long, use 1024 Bytes!</translation>
    </message>
    <message>
        <source>LENGTH over 8*1024*1024 Bytes, use 8*1024*1024!</source>
        <translation>LENGTH over 8*1024*1024 Bytes, use 8*1024*1024!</translation>
    </message>
    <message>
        <source>output file create fail !
</source>
        <translation>output file create fail !
</translation>
    </message>
    <message>
        <source>output file write fail !
</source>
        <translation>output file write fail !
</translation>
    </message>
    <message>
        <source>input file open fail !
</source>
        <translation>input file open fail !
</translation>
    </message>
    <message>
        <source>input file read fail !
</source>
        <translation>input file read fail !
</translation>
    </message>
    <message>
        <source>%s: not a regular file or a character device</source>
        <translation>%s: not a regular file or a character device</translation>
    </message>
    <message>
        <source>%s: not a regular file</source>
        <translation>%s: not a regular file</translation>
    </message>
    <message>
        <source>%s: took no bytes for %d ms</source>
        <translation>%s: took no bytes for %d ms</translation>
    </message>
    <message>
        <source>transfer stopped after 0x%x of 0x%x Bytes !
</source>
        <translation>transfer stopped after 0x%x of 0x%x Bytes !
</translation>
    </message>
    <message>
        <source>the core is running: halt it first (&quot;halt HCPU&quot; in the panel, corvane-cli halt-hcpu), or ask for halt, read, keep halted (--halt) !
</source>
        <translation>the core is running: halt it first (&quot;halt HCPU&quot; in the panel, corvane-cli halt-hcpu), or ask for halt, read, keep halted (--halt) !
</translation>
    </message>
    <message>
        <source>no core register %s, please check!</source>
        <translation>no core register %s, please check!</translation>
    </message>
    <message>
        <source>core register %s is not written here (R0-R12, SP, PC, xPSR), please check!</source>
        <translation>core register %s is not written here (R0-R12, SP, PC, xPSR), please check!</translation>
    </message>
    <message>
        <source>%s is not a 32-bit hexadecimal value, please check!</source>
        <translation>%s is not a 32-bit hexadecimal value, please check!</translation>
    </message>
    <message>
        <source>core register %s is not given by the server !
</source>
        <translation>core register %s is not given by the server !
</translation>
    </message>
    <message>
        <source>core register %s written 0x%08X, read back 0x%08X !
</source>
        <translation>core register %s written 0x%08X, read back 0x%08X !
</translation>
    </message>
    <message>
        <source>not given by the server</source>
        <translation>not given by the server</translation>
    </message>
    <message>
        <source>no symbol</source>
        <translation>no symbol</translation>
    </message>
    <message>
        <source>stack overflow of the process stack (STKOF)</source>
        <translation>stack overflow of the process stack (STKOF)</translation>
    </message>
    <message>
        <source>stack overflow of the main stack (STKOF)</source>
        <translation>stack overflow of the main stack (STKOF)</translation>
    </message>
    <message>
        <source>stack overflow (STKOF)</source>
        <translation>stack overflow (STKOF)</translation>
    </message>
    <message>
        <source>the chip&apos;s own auxiliary fault bit</source>
        <translation>the chip&apos;s own auxiliary fault bit</translation>
    </message>
    <message>
        <source>not read: %s 0x%08X is outside readable memory (%s)</source>
        <translation>not read: %s 0x%08X is outside readable memory (%s)</translation>
    </message>
    <message>
        <source>the frame would pass the end of the address space</source>
        <translation>the frame would pass the end of the address space</translation>
    </message>
    <message>
        <source>not read: LR holds no EXC_RETURN</source>
        <translation>not read: LR holds no EXC_RETURN</translation>
    </message>
    <message>
        <source>not read: the core is in Thread mode, no exception is being handled</source>
        <translation>not read: the core is in Thread mode, no exception is being handled</translation>
    </message>
    <message>
        <source>not read: %s not given by the server</source>
        <translation>not read: %s not given by the server</translation>
    </message>
    <message>
        <source>not an ELF file</source>
        <translation>not an ELF file</translation>
    </message>
    <message>
        <source>not read: %s 0x%08X could not be read</source>
        <translation>not read: %s 0x%08X could not be read</translation>
    </message>
    <message>
        <source>%s open error! 
</source>
        <translation>%s open error! 
</translation>
    </message>
    <message>
        <source>%s create error !
</source>
        <translation>%s create error !
</translation>
    </message>
    <message>
        <source>%s open error !
</source>
        <translation>%s open error !
</translation>
    </message>
    <message>
        <source>%s open error !</source>
        <translation>%s open error !</translation>
    </message>
    <message>
        <source>%s GetRegInfo error !
</source>
        <translation>%s GetRegInfo error !
</translation>
    </message>
    <message>
        <source>%s GetRegInfo error !</source>
        <translation>%s GetRegInfo error !</translation>
    </message>
    <message>
        <source>%s size 0x%x &gt; file len 0x%x, fill zero !
</source>
        <translation>%s size 0x%x &gt; file len 0x%x, fill zero !
</translation>
    </message>
    <message>
        <source>%s size 0x%x &lt; file len 0x%x, remove following data !
</source>
        <translation>%s size 0x%x &lt; file len 0x%x, remove following data !
</translation>
    </message>
    <message>
        <source>%s span 0x%x does not fit the 0x%x-byte transfer buffer, refused !
</source>
        <translation>%s span 0x%x does not fit the 0x%x-byte transfer buffer, refused !
</translation>
    </message>
    <message>
        <source>out of range !
%s does not fit %s (%u bits)
</source>
        <translation>out of range !
%s does not fit %s (%u bits)
</translation>
    </message>
    <message>
        <source>not a number !
%s is no %s value for %s
</source>
        <translation>not a number !
%s is no %s value for %s
</translation>
    </message>
    <message>
        <source>not a number !
%s is no %s value for %s, nor one of its names: %s
</source>
        <translation>not a number !
%s is no %s value for %s, nor one of its names: %s
</translation>
    </message>
    <message>
        <source>not read !
%s: reading %s changes the chip, so its other bits are not known; read it first or type its whole value
</source>
        <translation>not read !
%s: reading %s changes the chip, so its other bits are not known; read it first or type its whole value
</translation>
    </message>
    <message>
        <source>not read !
%s: %s cannot be read (%s), so its other bits are not known; type its whole value
</source>
        <translation>not read !
%s: %s cannot be read (%s), so its other bits are not known; type its whole value
</translation>
    </message>
    <message>
        <source>not written !
%s: another action runs; write it again once it has ended
</source>
        <translation>not written !
%s: another action runs; write it again once it has ended
</translation>
    </message>
    <message>
        <source>寄存器数值</source>
        <translation>Register value</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>
(read clears: left out of whole-peripheral reads)</source>
        <translation>
(read clears: left out of whole-peripheral reads)</translation>
    </message>
    <message>
        <source>[svd] peripherals not find !
</source>
        <translation>[svd] peripherals not find !
</translation>
    </message>
    <message>
        <source>[svd] peripherals-&gt;peripheral-&gt;name not find !
</source>
        <translation>[svd] peripherals-&gt;peripheral-&gt;name not find !
</translation>
    </message>
    <message>
        <source>[svd] peripherals-&gt;peripheral-&gt;baseAddress not find!
</source>
        <translation>[svd] peripherals-&gt;peripheral-&gt;baseAddress not find!
</translation>
    </message>
    <message>
        <source>[svd] peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;name  not find!
</source>
        <translation>[svd] peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;name  not find!
</translation>
    </message>
    <message>
        <source>[svd] peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;addressOffset  not find!
</source>
        <translation>[svd] peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;addressOffset  not find!
</translation>
    </message>
    <message>
        <source>[svd] peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;fields-&gt;field-&gt;name not find!
</source>
        <translation>[svd] peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;fields-&gt;field-&gt;name not find!
</translation>
    </message>
    <message>
        <source>[svd] peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;fields-&gt;field-&gt;bitOffset not find!
</source>
        <translation>[svd] peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;fields-&gt;field-&gt;bitOffset not find!
</translation>
    </message>
    <message>
        <source>[svd] peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;fields-&gt;field-&gt;bitWidth not find!
</source>
        <translation>[svd] peripherals-&gt;peripheral-&gt;registers-&gt;register-&gt;fields-&gt;field-&gt;bitWidth not find!
</translation>
    </message>
    <message>
        <source>[svd] %1 derivedFrom %2 not find!
</source>
        <translation>[svd] %1 derivedFrom %2 not find!
</translation>
    </message>
    <message>
        <source>[svd] %1 dim %2 over %3!
</source>
        <translation>[svd] %1 dim %2 over %3!
</translation>
    </message>
    <message>
        <source>[svd] %1 %2 %3 not a number!
</source>
        <translation>[svd] %1 %2 %3 not a number!
</translation>
    </message>
    <message>
        <source>[svd] %1 expands to more than %2 elements!
</source>
        <translation>[svd] %1 expands to more than %2 elements!
</translation>
    </message>
    <message>
        <source>[svd] %1 clusters nested deeper than %2!
</source>
        <translation>[svd] %1 clusters nested deeper than %2!
</translation>
    </message>
    <message>
        <source>[svd] %1 address past 0xFFFFFFFF !
</source>
        <translation>[svd] %1 address past 0xFFFFFFFF !
</translation>
    </message>
    <message>
        <source>[svd] %1 span past 0xFFFFFFFF !
</source>
        <translation>[svd] %1 span past 0xFFFFFFFF !
</translation>
    </message>
    <message>
        <source>no address %1, please check!</source>
        <translation>no address %1, please check!</translation>
    </message>
    <message>
        <source>no length %1, please check!</source>
        <translation>no length %1, please check!</translation>
    </message>
    <message>
        <source>no data to find, please check!</source>
        <translation>no data to find, please check!</translation>
    </message>
    <message>
        <source>%1 [SVD unreadable: not read]</source>
        <translation>%1 [SVD unreadable: not read]</translation>
    </message>
    <message>
        <source>memory window closed while the link was busy, not written:
%1</source>
        <translation>memory window closed while the link was busy, not written:
%1</translation>
    </message>
    <message>
        <source>x %1 管道创建失败
</source>
        <translation>x %1 pipe creation failed
</translation>
    </message>
    <message>
        <source>%1 进程创建失败
</source>
        <translation>%1 process creation failed
</translation>
    </message>
    <message>
        <source>管道接收异常
</source>
        <translation>pipe receive error
</translation>
    </message>
    <message>
        <source>无有效数据 !!!</source>
        <translation>No valid data !!!</translation>
    </message>
    <message>
        <source>此程序正在运行，同一路径只能打开一次。</source>
        <translation>This program is running; it can be opened only once from the same folder.</translation>
    </message>
    <message>
        <source>No saved data to compare !
</source>
        <translation>No saved data to compare !
</translation>
    </message>
    <message>
        <source>%1 create error !
</source>
        <translation>%1 create error !
</translation>
    </message>
    <message>
        <source>%1 is read-only !</source>
        <translation>%1 is read-only !</translation>
    </message>
    <message>
        <source>%1: not a GDB server, type host:port (port 1 to 65535) !
</source>
        <translation>%1: not a GDB server, type host:port (port 1 to 65535) !
</translation>
    </message>
    <message>
        <source>usage: corvane-cli [--home DIR] [--chip NAME] [--language en|zh] COMMAND [ARGS...]

commands:
</source>
        <translation>usage: corvane-cli [--home DIR] [--chip NAME] [--language en|zh] COMMAND [ARGS...]

commands:
</translation>
    </message>
    <message>
        <source>usage: corvane-cli %1 %2
</source>
        <translation>usage: corvane-cli %1 %2
</translation>
    </message>
    <message>
        <source>corvane-cli: %1
</source>
        <translation>corvane-cli: %1
</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 needs a value</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>unknown option %1</translation>
    </message>
    <message>
        <source>no command given</source>
        <translation>no command given</translation>
    </message>
    <message>
        <source>unknown language %1 (en or zh)</source>
        <translation>unknown language %1 (en or zh)</translation>
    </message>
    <message>
        <source>unknown command %1</source>
        <translation>unknown command %1</translation>
    </message>
    <message>
        <source>no peripheral %1 in %2
</source>
        <translation>no peripheral %1 in %2
</translation>
    </message>
    <message>
        <source>%1: %2 holds 0x%3 bytes of the span 0x%4; registers beyond its end are not compared
</source>
        <translation>%1: %2 holds 0x%3 bytes of the span 0x%4; registers beyond its end are not compared
</translation>
    </message>
    <message>
        <source>no register %1 in %2
</source>
        <translation>no register %1 in %2
</translation>
    </message>
    <message>
        <source>%1 cannot be read as an ELF file: %2
</source>
        <translation>%1 cannot be read as an ELF file: %2
</translation>
    </message>
    <message>
        <source>print the HCPU&apos;s core registers; a running core is refused unless --halt (halt it and keep it halted)</source>
        <translation>print the HCPU&apos;s core registers; a running core is refused unless --halt (halt it and keep it halted)</translation>
    </message>
    <message>
        <source>write R0-R12, SP, PC or xPSR of the halted HCPU (VALUE hexadecimal) and read it back</source>
        <translation>write R0-R12, SP, PC or xPSR of the halted HCPU (VALUE hexadecimal) and read it back</translation>
    </message>
    <message>
        <source>print the fault report: fault registers in words, the exception, the stacked frame; --elf adds functions and lines</source>
        <translation>print the fault report: fault registers in words, the exception, the stacked frame; --elf adds functions and lines</translation>
    </message>
    <message>
        <source>list the IP blocks of the chip&apos;s analyzer files: &quot;+ NAME&quot; for a known block, &quot;- NAME&quot; otherwise</source>
        <translation>list the IP blocks of the chip&apos;s analyzer files: &quot;+ NAME&quot; for a known block, &quot;- NAME&quot; otherwise</translation>
    </message>
    <message>
        <source>run the analyzer for each IP block and print every output row on its own line</source>
        <translation>run the analyzer for each IP block and print every output row on its own line</translation>
    </message>
    <message>
        <source>read these peripherals every interval and print each register that changed</source>
        <translation>read these peripherals every interval and print each register that changed</translation>
    </message>
    <message>
        <source>print the registers and fields of NAME that differ between two snapshot files</source>
        <translation>print the registers and fields of NAME that differ between two snapshot files</translation>
    </message>
    <message>
        <source>print memory as a memory window shows it: rows of 16 bytes, ASCII, register names</source>
        <translation>print memory as a memory window shows it: rows of 16 bytes, ASCII, register names</translation>
    </message>
    <message>
        <source>print the register window rows of these peripherals</source>
        <translation>print the register window rows of these peripherals</translation>
    </message>
    <message>
        <source>read these peripherals into their snapshot files and print their rows</source>
        <translation>read these peripherals into their snapshot files and print their rows</translation>
    </message>
    <message>
        <source>set a register&apos;s value and write it to the chip</source>
        <translation>set a register&apos;s value and write it to the chip</translation>
    </message>
    <message>
        <source>read up to 1024 bytes and print them as a hex dump</source>
        <translation>read up to 1024 bytes and print them as a hex dump</translation>
    </message>
    <message>
        <source>read up to 8 MiB into FILE</source>
        <translation>read up to 8 MiB into FILE</translation>
    </message>
    <message>
        <source>write one 32-bit word</source>
        <translation>write one 32-bit word</translation>
    </message>
    <message>
        <source>write the whole of FILE from ADDR on</source>
        <translation>write the whole of FILE from ADDR on</translation>
    </message>
    <message>
        <source>stop the chip model&apos;s watchdogs</source>
        <translation>stop the chip model&apos;s watchdogs</translation>
    </message>
    <message>
        <source>halt the high-performance CPU</source>
        <translation>halt the high-performance CPU</translation>
    </message>
    <message>
        <source>halt the low-power CPU</source>
        <translation>halt the low-power CPU</translation>
    </message>
    <message>
        <source>clean the level-1 data cache by set and way</source>
        <translation>clean the level-1 data cache by set and way</translation>
    </message>
    <message>
        <source>let the halted cores run; until then every command leaves them halted</source>
        <translation>let the halted cores run; until then every command leaves them halted</translation>
    </message>
    <message>
        <source>check that FILE is well-formed XML: prints sound or not sound, then the error text</source>
        <translation>check that FILE is well-formed XML: prints sound or not sound, then the error text</translation>
    </message>
    <message>
        <source>list the peripheral names of the SVD file FILE, one per line</source>
        <translation>list the peripheral names of the SVD file FILE, one per line</translation>
    </message>
    <message>
        <source>print peripheral NAME of the SVD file FILE with its registers and fields</source>
        <translation>print peripheral NAME of the SVD file FILE with its registers and fields</translation>
    </message>
    <message>
        <source>语言(&amp;L)</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>The language chosen is used from the next start of Corvane.</source>
        <translation>The language chosen is used from the next start of Corvane.</translation>
    </message>
    <message>
        <source>地址</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>后退 (Alt+Left)</source>
        <translation>Back (Alt+Left)</translation>
    </message>
    <message>
        <source>前进 (Alt+Right)</source>
        <translation>Forward (Alt+Right)</translation>
    </message>
    <message>
        <source>%1位</source>
        <translation>%1-bit</translation>
    </message>
    <message>
        <source>%1 字节/行</source>
        <translation>%1 bytes/row</translation>
    </message>
    <message>
        <source>监视</source>
        <translation>Watch</translation>
    </message>
    <message>
        <source>%1 次/秒</source>
        <translation>%1/s</translation>
    </message>
    <message>
        <source>查找 (Ctrl+F)</source>
        <translation>Find (Ctrl+F)</translation>
    </message>
    <message>
        <source>字节序列</source>
        <translation>Byte sequence</translation>
    </message>
    <message>
        <source>32位值</source>
        <translation>32-bit value</translation>
    </message>
    <message>
        <source>从</source>
        <translation>From</translation>
    </message>
    <message>
        <source>长度</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>查找</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>保存到文件</source>
        <translation>Save to file</translation>
    </message>
    <message>
        <source>从文件载入</source>
        <translation>Load from file</translation>
    </message>
    <message>
        <source>查找中…</source>
        <translation>Finding…</translation>
    </message>
    <message>
        <source>找到 0x%1</source>
        <translation>Found at 0x%1</translation>
    </message>
    <message>
        <source>未找到</source>
        <translation>Not found</translation>
    </message>
    <message>
        <source>已取消</source>
        <translation>Cancelled</translation>
    </message>
    <message>
        <source>保存中…</source>
        <translation>Saving…</translation>
    </message>
    <message>
        <source>载入中…</source>
        <translation>Loading…</translation>
    </message>
    <message>
        <source>完成</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>%1 不在外设列表中</source>
        <translation>%1 is not in the peripheral list</translation>
    </message>
</context>
</TS>
