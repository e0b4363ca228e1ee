// A local variable hides a global one of the same name.
var x: Integer;
procedure UseLocal;
var x: Integer;
begin
  x := 100;
  PrintLn('local ' + IntToStr(x));
end;
procedure UseParam(x: Integer);
begin
  x := x + 1;
  PrintLn('param ' + IntToStr(x));
end;
procedure UseGlobal;
begin
  x := x + 1;
end;
begin
  x := 1;
  UseLocal;
  PrintLn('global ' + IntToStr(x));
  UseParam(x);
  PrintLn('global ' + IntToStr(x));
  UseGlobal;
  PrintLn('global ' + IntToStr(x));
end.
