var i: Integer;
begin
  Print('$1A='); PrintLn($1A);
  Print('$ff='); PrintLn($ff);
  Print('$FF='); PrintLn($FF);
  Print('$0='); PrintLn($0);
  Print('$7FFFFFFF='); PrintLn($7FFFFFFF);
  i := $10 + $10;
  Print('$10+$10='); PrintLn(i);
  i := $100 * 2;
  Print('$100*2='); PrintLn(i);
  Print('$00000001='); PrintLn($00000001);
end.
