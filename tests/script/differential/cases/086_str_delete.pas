var s: string;
begin
  s := 'abcdef';
  Delete(s, 2, 2);
  Print('2,2 '); PrintLn(s);
  s := 'abcdef';
  Delete(s, 1, 1);
  Print('1,1 '); PrintLn(s);
  s := 'abcdef';
  Delete(s, 5, 100);
  Print('5,100 '); PrintLn(s);
  s := 'abcdef';
  Delete(s, 7, 1);
  Print('7,1 '); PrintLn(s);
  s := 'abcdef';
  Delete(s, 3, 0);
  Print('3,0 '); PrintLn(s);
  s := 'abcdef';
  Delete(s, 1, 6);
  Print('all <'); Print(s); PrintLn('>');
end.
